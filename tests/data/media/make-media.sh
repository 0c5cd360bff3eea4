#!/usr/bin/env bash
# Regenerates the small test clips of this folder and the bundled sample clip.
# Needs ffmpeg (with libx264, libmp3lame) and dvdauthor; the tests only read the
# committed results, so CI does not need either tool.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
sample="$here/../../../resources/sample/sample.mp4"
cd "$here"
ff=(ffmpeg -hide_banner -loglevel error -y)
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# One video and one audio stream, 3 s, 160x120.
"${ff[@]}" -f lavfi -i "testsrc2=size=160x120:rate=25" -f lavfi -i "sine=frequency=440:sample_rate=44100" \
  -t 3 -c:v libx264 -preset veryfast -crf 35 -pix_fmt yuv420p -c:a aac -b:a 32k -ac 1 \
  -metadata title="Engine clip" av.mkv

# A film with two audio tracks (English, French), 2 s, 160x90.
"${ff[@]}" -f lavfi -i "testsrc2=size=160x90:rate=25" -f lavfi -i "sine=frequency=440:sample_rate=22050" \
  -f lavfi -i "sine=frequency=880:sample_rate=22050" -map 0 -map 1 -map 2 -t 2 \
  -c:v libx264 -preset veryfast -crf 40 -pix_fmt yuv420p -c:a aac -b:a 24k -ac 1 \
  -metadata:s:a:0 language=eng -metadata:s:a:1 language=fra -metadata title="Two tongues" twoaudio.mkv

# A short untagged MP3 (0.5 s) for the playlist walks.
"${ff[@]}" -f lavfi -i "sine=frequency=550:sample_rate=22050" -t 0.5 -c:a libmp3lame -b:a 32k -ac 1 \
  -map_metadata -1 -write_xing 0 -id3v2_version 0 short.mp3

# Audio only, 2 s, with a title and an artist tag.
"${ff[@]}" -f lavfi -i "sine=frequency=660:sample_rate=22050" -t 2 -c:a libmp3lame -b:a 32k -ac 1 \
  -id3v2_version 3 -metadata title="Test Tone" -metadata artist="Tarn Tests" audio.mp3

# MPEG-TS with MPEG-2 video and MP2 audio, 3 s.
"${ff[@]}" -f lavfi -i "testsrc=size=160x120:rate=25" -f lavfi -i "sine=frequency=330:sample_rate=48000" \
  -t 3 -c:v mpeg2video -b:v 200k -c:a mp2 -b:a 64k -ac 1 -f mpegts clip.ts

# Two minutes (two audio tracks, English and French) and half a minute of a
# tiny picture (32x24, 1 frame/s) with silent Opus: the resume tests play
# them, so they are long but small.
tiny=(-f lavfi -i "testsrc2=size=32x24:rate=1" -f lavfi -i "anullsrc=channel_layout=mono:sample_rate=8000")
tinycodecs=(-c:v libx264 -preset veryslow -crf 45 -g 600 -pix_fmt yuv420p -c:a libopus -b:a 6k -frame_duration 120)
"${ff[@]}" "${tiny[@]}" -map 0 -map 1 -map 1 -t 120 "${tinycodecs[@]}" \
  -metadata:s:a:0 language=eng -metadata:s:a:1 language=fra -metadata title="Long clip" long.mkv
"${ff[@]}" "${tiny[@]}" -t 30 "${tinycodecs[@]}" -metadata title="Half-minute clip" half.mkv

# Video only, 6 s, 120x80: red with a white square that moves 4 pixels a frame;
# three chapters of 2 s each.
printf ';FFMETADATA1\n' > "$tmp/chapters.txt"
for chapter in 0:Opening 2000:Middle 4000:Ending; do
  printf '[CHAPTER]\nTIMEBASE=1/1000\nSTART=%s\nEND=%s\ntitle=%s\n' "${chapter%%:*}" "$(( ${chapter%%:*} + 2000 ))" \
    "${chapter#*:}" >> "$tmp/chapters.txt"
done
"${ff[@]}" -f ffmetadata -i "$tmp/chapters.txt" -map_chapters 0 -filter_complex "color=c=red:size=120x80:rate=25[bg];color=c=white:size=16x16:rate=25[box];[bg][box]overlay=x='mod(n*4,104)':y=32:shortest=1" \
  -t 6 -c:v libx264 -preset veryfast -crf 30 -pix_fmt yuv420p -an red.mkv

# Subtitles for av.mkv.
cat > sub.srt <<'SRT'
1
00:00:00,000 --> 00:00:02,500
Engine test subtitle

SRT

# Video only (so the silent audio device cannot hurry it), 30 s each, one
# flat colour: a 4:3 film with a text subtitle track shown from start to end,
# and a 16:9 one.
printf '1\n00:00:00,000 --> 00:00:30,000\nSubtitle for a resting pointer\n\n' > "$tmp/subtitled.srt"
"${ff[@]}" -f lavfi -i "color=c=0x203060:size=160x120:rate=10" -i "$tmp/subtitled.srt" -t 30 -map 0:v -map 1:s \
  -c:v libx264 -preset veryslow -crf 40 -pix_fmt yuv420p -c:s srt -disposition:s:0 default subtitled.mkv
"${ff[@]}" -f lavfi -i "color=c=0x306020:size=160x90:rate=10" -t 30 \
  -c:v libx264 -preset veryslow -crf 40 -pix_fmt yuv420p wide.mkv

# Video only, 60 s of 64x36 at 5 frames/s, one flat colour per 10 s (red,
# green, blue, yellow, magenta, cyan), a keyframe every 2 s: the seek-bar
# previews show the colour of the time under the pointer.
"${ff[@]}" $(for c in red lime blue yellow magenta cyan; do printf -- '-f lavfi -i color=c=%s:size=64x36:rate=5:duration=10 ' "$c"; done) \
  -filter_complex "concat=n=6:v=1:a=0" -c:v libx264 -preset veryslow -crf 40 -g 10 -pix_fmt yuv420p colours.mkv

# A tiny DVD folder: one title of 2 s of PAL MPEG-2 (720x576, SAR 16:15).
"${ff[@]}" -f lavfi -i "smptebars=size=720x576:rate=25" -f lavfi -i "sine=frequency=550:sample_rate=48000" \
  -t 2 -target pal-dvd -b:v 150k -maxrate 300k -bufsize 224k -b:a 64k -ac 1 -aspect 4:3 "$tmp/title.mpg"
rm -rf dvd
VIDEO_FORMAT=PAL dvdauthor -o dvd -t "$tmp/title.mpg" 2>/dev/null
VIDEO_FORMAT=PAL dvdauthor -o dvd -T 2>/dev/null

# The bundled sample played by run.sh: 5 s of a colour pattern and a soft tone.
"${ff[@]}" -f lavfi -i "testsrc2=size=320x180:rate=25" -f lavfi -i "sine=frequency=440:sample_rate=44100,volume=0.3" \
  -t 5 -c:v libx264 -preset veryslow -crf 30 -pix_fmt yuv420p -c:a aac -b:a 48k -ac 2 \
  -movflags +faststart -metadata title="Player Tarn sample" "$sample"

du -ch av.mkv red.mkv colours.mkv twoaudio.mkv long.mkv half.mkv subtitled.mkv wide.mkv short.mp3 audio.mp3 clip.ts sub.srt dvd "$sample" | tail -n 1
