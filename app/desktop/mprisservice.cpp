#include "mprisservice.h"

#include "mprisadaptors.h"
#include "playercommands.h"
#include "playerstatewatcher.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace Desktop {

namespace {

const QString busService = QStringLiteral("org.freedesktop.DBus");
const QString busPath = QStringLiteral("/org/freedesktop/DBus");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString rootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString playerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QStringList rootMethods{QStringLiteral("Raise"), QStringLiteral("Quit")};
const QStringList playerMethods{QStringLiteral("Next"),      QStringLiteral("Previous"), QStringLiteral("Pause"),
                                QStringLiteral("PlayPause"), QStringLiteral("Stop"),     QStringLiteral("Play"),
                                QStringLiteral("Seek"),      QStringLiteral("SetPosition"), QStringLiteral("OpenUri")};

// RequestName's flag and answers, as the bus defines them.
constexpr uint DoNotQueue = 4;
constexpr uint PrimaryOwner = 1;
constexpr uint AlreadyOwner = 4;

QDBusMessage busCall(const QString &method, const QVariantList &arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(busService, busPath, busService, method);
    call.setArguments(arguments);
    return call;
}

} // namespace

const QString MprisService::objectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString MprisService::baseName = QStringLiteral("org.mpris.MediaPlayer2.player_tarn");

MprisService::MprisService(PlayerStateWatcher *watcher, PlayerCommands *commands, QObject *parent)
    : QObject(parent)
    , watcher(watcher)
    , commands(commands)
{
    rootAdaptor = new MprisRootAdaptor(this);
    playerAdaptor = new MprisPlayerAdaptor(this);
    connect(watcher, &PlayerStateWatcher::changed, this, &MprisService::publish);
    connect(watcher, &PlayerStateWatcher::positionJumped, this, &MprisService::announceJump);
}

MprisService::~MprisService()
{
    if (!exported)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(objectPath);
    if (!name.isEmpty())
        bus.asyncCall(busCall(QStringLiteral("ReleaseName"), {name}));
}

void MprisService::start()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (exported || !bus.isConnected())
        return;
    // A path already taken in this process (another player object) leaves
    // this one off the bus.
    if (!bus.registerObject(objectPath, this, QDBusConnection::ExportAdaptors))
        return;
    exported = true;
    const auto listen = [&bus, this](const QString &interface, const QString &member) {
        bus.connect(QString(), objectPath, interface, member, this, SLOT(carryOutSignal(QDBusMessage)));
    };
    for (const QString &method : rootMethods)
        listen(rootInterface, method);
    for (const QString &method : playerMethods)
        listen(playerInterface, method);
    listen(propertiesInterface, QStringLiteral("Set"));
    requestName(baseName, true);
}

void MprisService::carryOutSignal(const QDBusMessage &message)
{
    const QString member = message.member();
    const QVariantList arguments = message.arguments();
    if (message.interface() == propertiesInterface) {
        // Set (interface, property, value)
        if (arguments.size() != 3 || arguments.at(0).toString() != playerInterface)
            return;
        const QVariant value = arguments.at(2).value<QDBusVariant>().variant();
        if (arguments.at(1).toString() == QLatin1String("Volume"))
            playerAdaptor->setVolume(value.toDouble());
        else if (arguments.at(1).toString() == QLatin1String("Rate"))
            playerAdaptor->setRate(value.toDouble());
        return;
    }
    if (message.interface() == rootInterface) {
        if (arguments.isEmpty())
            QMetaObject::invokeMethod(rootAdaptor, member.toLatin1().constData());
        return;
    }
    if (member == QLatin1String("Seek") && arguments.size() == 1)
        playerAdaptor->Seek(arguments.at(0).toLongLong());
    else if (member == QLatin1String("SetPosition") && arguments.size() == 2)
        playerAdaptor->SetPosition(arguments.at(0).value<QDBusObjectPath>(), arguments.at(1).toLongLong());
    else if (member == QLatin1String("OpenUri") && arguments.size() == 1)
        playerAdaptor->OpenUri(arguments.at(0).toString());
    else if (arguments.isEmpty())
        QMetaObject::invokeMethod(playerAdaptor, member.toLatin1().constData());
}

void MprisService::requestName(const QString &wanted, bool fallBack)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    auto *answer =
        new QDBusPendingCallWatcher(bus.asyncCall(busCall(QStringLiteral("RequestName"), {wanted, DoNotQueue})), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this, wanted, fallBack](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<uint> reply = *call;
        if (reply.isError())
            return;
        if (reply.value() == PrimaryOwner || reply.value() == AlreadyOwner) {
            name = wanted;
            published = playerProperties(player());
            emit registered(name);
        } else if (fallBack) {
            requestName(wanted + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid()), false);
        }
    });
}

PlayerSnapshot MprisService::player() const
{
    return watcher->snapshot();
}

qint64 MprisService::positionMs() const
{
    return watcher->position();
}

void MprisService::queue(std::function<void(PlayerCommands *)> command)
{
    QMetaObject::invokeMethod(
        this, [this, command = std::move(command)] { command(commands); }, Qt::QueuedConnection);
}

void MprisService::queueOpen(const QString &uri)
{
    const OpenTarget target = openTarget(uri);
    QMetaObject::invokeMethod(
        this,
        [this, target] {
            if (target.localFile)
                emit openFileRequested(target.text);
            else
                emit openUrlRequested(target.text);
        },
        Qt::QueuedConnection);
}

void MprisService::queueRaise()
{
    QMetaObject::invokeMethod(this, &MprisService::raiseRequested, Qt::QueuedConnection);
}

void MprisService::queueQuit()
{
    QMetaObject::invokeMethod(this, &MprisService::quitRequested, Qt::QueuedConnection);
}

void MprisService::publish(const PlayerSnapshot &player)
{
    if (name.isEmpty())
        return;
    const QVariantMap properties = playerProperties(player);
    const QVariantMap changed = changedProperties(published, properties);
    published = properties;
    if (changed.isEmpty())
        return;
    QDBusMessage signal =
        QDBusMessage::createSignal(objectPath, propertiesInterface, QStringLiteral("PropertiesChanged"));
    signal << playerInterface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}

void MprisService::announceJump(qint64 ms)
{
    if (!name.isEmpty())
        emit playerAdaptor->Seeked(qlonglong(ms) * 1000);
}

} // namespace Desktop
