#include "mediaformats.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

namespace MediaFormats {

const char *const videoPatterns =
    "*.3g2;*.3gp;*.3gp2;*.3gpp;*.amv;*.asf;*.avi;*.bin;*.divx;*.drc;*.dv;*f4v;*.flv;*.gvi;*.gxf;*.iso;*.m1v;"
    "*.m2v;*.m2t;*.m2ts;*.m4v;*.mkv;*.mov;*.mp2;*.mp2v;*.mp4;*.mp4v;*.mpe;*.mpeg;*.mpeg1;*.mpeg2;*.mpeg4;*.mpg;"
    "*.mpv2;*.mts;*.mtv;*.mxf;*.mxg;*.nsv;*.nuv;*.ogg;*.ogm;*.ogv;*.ogx;*.ps;*.rec;*.rm;*.rmvb;*.tod;*.ts;*.tts;"
    "*.vob;*.vro;*.webm;*.wm;*.wmv;*.wtv;*.xesc";

const char *const audioPatterns =
    "*.3ga;*.669;*.a52;*.aac;*.ac3;*.adt;*.adts;*.aif;*.aifc;*.aiff;*.amr;*.aob;*.ape;*.awb;*.caf;*.dts;*.flac;"
    "*.it;*.kar;*.m4a;*.m4p;*.m5p;*.mid;*.mka;*.mlp;*.mod;*.mpa;*.mp1;*.mp2;*.mp3;*.mpc;*.mpga;*.oga;*.ogg;*.oma;"
    "*.opus;*.qcp;*.ra;*.rmi;*.s3m;*.spx;*.thd;*.tta;*.voc;*.vqf;*.w64;*.wav;*.wma;*.wv;*.xa;*.xm";

const char *const subtitlePatterns =
    "*.cdg;*.idx;*.srt;*.sub;*.utf;*.ass;*.ssa;*.aqt;*.jss;*.psb;*.rt;*.smi;*.txt;*.smil;*.stl;*.usf;*.dks;*.pjs;"
    "*.mpl2;*.mks";

const char *const playlistPatterns = "*.m3u;*.m3u8";

QStringList suffixes(const char *patterns)
{
    static const QRegularExpression nonWord(QStringLiteral("[^\\w]"));
    return QString::fromLatin1(patterns).split(nonWord, Qt::SkipEmptyParts);
}

namespace {

QSet<QString> suffixSet(const char *patterns)
{
    const QStringList list = suffixes(patterns);
    return QSet<QString>(list.cbegin(), list.cend());
}

// Every pattern ends with "%1 ( %2 );;" and the patterns of one entry are
// separated by single spaces.
QString filterEntry(const QString &caption, const char *patterns)
{
    return QStringLiteral("%1 ( %2 );;").arg(caption, QString::fromLatin1(patterns));
}

QString spaced(QString filter)
{
    return filter.replace(QLatin1String(";*"), QLatin1String(" *"));
}

} // namespace

Kind classifySuffix(const QString &suffix)
{
    static const QSet<QString> video = suffixSet(videoPatterns);
    static const QSet<QString> audio = suffixSet(audioPatterns);
    static const QSet<QString> subtitle = suffixSet(subtitlePatterns);
    static const QSet<QString> playlist = suffixSet(playlistPatterns);
    const QString lower = suffix.toLower();
    if (lower.isEmpty())
        return Kind::Unknown;
    if (video.contains(lower))
        return Kind::Video;
    if (audio.contains(lower))
        return Kind::Audio;
    if (subtitle.contains(lower))
        return Kind::Subtitle;
    if (playlist.contains(lower))
        return Kind::Playlist;
    return Kind::Unknown;
}

Kind classifyFile(const QString &fileName)
{
    return classifySuffix(QFileInfo(fileName).suffix());
}

Kind classifyUrl(const QUrl &url)
{
    return classifyFile(url.fileName(QUrl::FullyDecoded));
}

bool isPlaylistFile(const QString &fileName)
{
    return QFileInfo(fileName).suffix().toLower().startsWith(QLatin1String("m3u"));
}

QString openFileFilter(const QString &allFiles, const QString &videoFiles, const QString &audioFiles,
                       const QString &playlistFiles)
{
    return spaced(filterEntry(allFiles, "*.*") + filterEntry(videoFiles, videoPatterns)
                  + filterEntry(audioFiles, audioPatterns) + filterEntry(playlistFiles, playlistPatterns));
}

QString subtitleFileFilter(const QString &subtitleFiles, const QString &allFiles)
{
    return spaced(filterEntry(subtitleFiles, subtitlePatterns) + filterEntry(allFiles, "*.*"));
}

} // namespace MediaFormats
