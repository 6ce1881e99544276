// A tray host for the end-to-end tests, on the session bus the test starts:
// the StatusNotifierWatcher a desktop's panel provides (Qt shows its tray
// icons as StatusNotifierItems once a watcher says a host is there), and the
// host's side of an item: its properties and its menu (com.canonical.dbusmenu).
//
//   k4812-e2e-sni-host watch              be the watcher (and the notification service);
//                                         print "watching", then "registered SERVICE" /
//                                         "unregistered SERVICE" as items come and go and
//                                         "notification SUMMARY | BODY"; runs until killed
//   k4812-e2e-sni-host show SERVICE       print the item's Title, Status, ToolTip
//                                         (title and text), Menu and icon (size and
//                                         the colour left of its middle)
//   k4812-e2e-sni-host menu SERVICE       print the menu as a panel opens it
//                                         (AboutToShow first): "ID|LABEL|TOGGLE|ENABLED"
//   k4812-e2e-sni-host click SERVICE LABEL
//                                         choose the item LABEL as a click does
//                                         (the Event "clicked")
//
// Exit status 0 on success, 1 when the item or the label is not there.

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QStringList>
#include <QTextStream>

#include <cstdio>
#include <functional>
#include <optional>

namespace {

constexpr const char* kWatcherService = "org.kde.StatusNotifierWatcher";
constexpr const char* kItemInterface = "org.kde.StatusNotifierItem";
constexpr const char* kItemPath = "/StatusNotifierItem";

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

class Watcher final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
public:
    explicit Watcher(QDBusConnection bus)
        : m_bus(bus)
        , m_gone(QString(), bus, QDBusServiceWatcher::WatchForUnregistration)
    {
        connect(&m_gone, &QDBusServiceWatcher::serviceUnregistered, this, [this](const QString& service) {
            m_items.removeAll(service);
            m_gone.removeWatchedService(service);
            out() << "unregistered " << service << Qt::endl;
            emit StatusNotifierItemUnregistered(service);
        });
    }
    QStringList items() const { return m_items; }
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }

public slots:
    void RegisterStatusNotifierItem(const QString& serviceOrPath, const QDBusMessage& message)
    {
        // Items name their bus name, or (some toolkits) only their path.
        const QString service = serviceOrPath.startsWith(QLatin1Char('/')) ? message.service() : serviceOrPath;
        m_items << service;
        m_gone.addWatchedService(service);
        out() << "registered " << service << Qt::endl;
        emit StatusNotifierItemRegistered(service);
    }
    void RegisterStatusNotifierHost(const QString&) {}

signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierItemUnregistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    QDBusConnection m_bus;
    QDBusServiceWatcher m_gone;
    QStringList m_items;
};

// The desktop's notification service, as far as the test needs it: every
// bubble is printed ("notification SUMMARY | BODY").
class Notifications final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public slots:
    uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body, const QStringList&,
                const QVariantMap&, int)
    {
        out() << "notification " << summary << " | " << QString(body).replace(QLatin1Char('\n'), QLatin1String(" | "))
              << Qt::endl;
        return ++m_last;
    }
    QStringList GetCapabilities() { return {QStringLiteral("body")}; }
    QString GetServerInformation(QString& vendor, QString& version, QString& specVersion)
    {
        vendor = QStringLiteral("k4812 tests");
        version = QStringLiteral("1");
        specVersion = QStringLiteral("1.2");
        return QStringLiteral("k4812-e2e-sni-host");
    }
    void CloseNotification(uint) {}

private:
    uint m_last = 0;
};

QVariant property(const QString& service, const QString& name, QString& error)
{
    QDBusMessage get = QDBusMessage::createMethodCall(service, QLatin1String(kItemPath),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << QLatin1String(kItemInterface) << name;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get, QDBus::Block, 10000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        error = reply.errorMessage();
        return {};
    }
    return reply.arguments().first().value<QDBusVariant>().variant();
}

struct Pixmap {
    int width = 0;
    int height = 0;
    QByteArray argb;   // ARGB32, network byte order
};

QList<Pixmap> readPixmaps(const QDBusArgument& argument)
{
    QList<Pixmap> pixmaps;
    argument.beginArray();
    while (!argument.atEnd()) {
        Pixmap pixmap;
        argument.beginStructure();
        argument >> pixmap.width >> pixmap.height >> pixmap.argb;
        argument.endStructure();
        pixmaps << pixmap;
    }
    argument.endArray();
    return pixmaps;
}

// The largest pixmap's size and the colour of the point an eighth of its
// width from the left, half-way down: on the badge, beside the digit.
QString describeIcon(const QList<Pixmap>& pixmaps)
{
    const Pixmap* largest = nullptr;
    for (const Pixmap& pixmap : pixmaps)
        if (largest == nullptr || pixmap.width > largest->width)
            largest = &pixmap;
    if (largest == nullptr || largest->argb.size() < qsizetype(largest->width) * largest->height * 4)
        return QStringLiteral("none");
    const qsizetype at = (qsizetype(largest->height / 2) * largest->width + largest->width / 8) * 4;
    const auto byte = [&](int i) { return std::uint8_t(largest->argb.at(at + i)); };
    return QStringLiteral("%1x%2 #%3%4%5")
        .arg(largest->width)
        .arg(largest->height)
        .arg(byte(1), 2, 16, QLatin1Char('0'))
        .arg(byte(2), 2, 16, QLatin1Char('0'))
        .arg(byte(3), 2, 16, QLatin1Char('0'));
}

int show(const QString& service)
{
    QString error;
    const QVariant title = property(service, QStringLiteral("Title"), error);
    if (!title.isValid()) {
        std::fprintf(stderr, "no item %s: %s\n", qPrintable(service), qPrintable(error));
        return 1;
    }
    out() << "Title: " << title.toString() << Qt::endl;
    out() << "Status: " << property(service, QStringLiteral("Status"), error).toString() << Qt::endl;
    // (s a(iiay) s s): icon name, icon, title, text.
    const QDBusArgument tip = property(service, QStringLiteral("ToolTip"), error).value<QDBusArgument>();
    QString iconName, tipTitle, tipText;
    tip.beginStructure();
    tip >> iconName;
    readPixmaps(tip);
    tip >> tipTitle >> tipText;
    tip.endStructure();
    out() << "ToolTip: " << QString(tipTitle).replace(QLatin1Char('\n'), QLatin1String(" | ")) << Qt::endl;
    if (!tipText.isEmpty())
        out() << "ToolTip text: " << QString(tipText).replace(QLatin1Char('\n'), QLatin1String(" | ")) << Qt::endl;
    const QVariant menu = property(service, QStringLiteral("Menu"), error);
    out() << "Menu: " << menu.value<QDBusObjectPath>().path() << Qt::endl;
    out() << "Icon: "
          << describeIcon(readPixmaps(property(service, QStringLiteral("IconPixmap"), error).value<QDBusArgument>()))
          << Qt::endl;
    return 0;
}

struct MenuItem {
    int id = 0;
    QVariantMap properties;
};

void readLayout(const QDBusArgument& argument, QList<MenuItem>& items)
{
    MenuItem item;
    argument.beginStructure();
    argument >> item.id >> item.properties;
    items << item;
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
        readLayout(child.variant().value<QDBusArgument>(), items);
    }
    argument.endArray();
    argument.endStructure();
}

std::optional<QList<MenuItem>> menuOf(const QString& service)
{
    QString error;
    const QString path = property(service, QStringLiteral("Menu"), error).value<QDBusObjectPath>().path();
    if (path.isEmpty()) {
        std::fprintf(stderr, "item %s has no menu: %s\n", qPrintable(service), qPrintable(error));
        return std::nullopt;
    }
    const QString interface = QStringLiteral("com.canonical.dbusmenu");
    QDBusMessage aboutToShow = QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("AboutToShow"));
    aboutToShow << 0;
    QDBusConnection::sessionBus().call(aboutToShow, QDBus::Block, 10000);
    QDBusMessage getLayout = QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("GetLayout"));
    getLayout << 0 << -1 << QStringList();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(getLayout, QDBus::Block, 10000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() < 2) {
        std::fprintf(stderr, "GetLayout failed: %s\n", qPrintable(reply.errorMessage()));
        return std::nullopt;
    }
    QList<MenuItem> items;
    readLayout(reply.arguments().at(1).value<QDBusArgument>(), items);
    items.removeFirst();   // the root
    return items;
}

int printMenu(const QString& service)
{
    const std::optional<QList<MenuItem>> items = menuOf(service);
    if (!items)
        return 1;
    for (const MenuItem& item : *items) {
        if (item.properties.value(QStringLiteral("type")).toString() == QLatin1String("separator"))
            continue;
        const QVariantMap& p = item.properties;
        out() << item.id << '|' << p.value(QStringLiteral("label")).toString() << '|'
              << (p.contains(QStringLiteral("toggle-state")) ? p.value(QStringLiteral("toggle-state")).toInt() : -1)
              << '|' << (p.value(QStringLiteral("enabled"), true).toBool() ? 1 : 0) << Qt::endl;
    }
    return 0;
}

int click(const QString& service, const QString& label)
{
    const std::optional<QList<MenuItem>> items = menuOf(service);
    if (!items)
        return 1;
    for (const MenuItem& item : *items) {
        if (item.properties.value(QStringLiteral("label")).toString() != label)
            continue;
        QString error;
        const QString path = property(service, QStringLiteral("Menu"), error).value<QDBusObjectPath>().path();
        QDBusMessage event = QDBusMessage::createMethodCall(service, path, QStringLiteral("com.canonical.dbusmenu"),
                                                            QStringLiteral("Event"));
        event << item.id << QStringLiteral("clicked") << QVariant::fromValue(QDBusVariant(0)) << 0u;
        const QDBusMessage reply = QDBusConnection::sessionBus().call(event, QDBus::Block, 10000);
        if (reply.type() == QDBusMessage::ErrorMessage) {
            std::fprintf(stderr, "Event failed: %s\n", qPrintable(reply.errorMessage()));
            return 1;
        }
        return 0;
    }
    std::fprintf(stderr, "the menu of %s has no item \"%s\"\n", qPrintable(service), qPrintable(label));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "no session bus: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    if (args.value(0) == QLatin1String("watch") && args.size() == 1) {
        Watcher watcher(bus);
        if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher,
                                QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals
                                    | QDBusConnection::ExportAllProperties)
            || !bus.registerService(QLatin1String(kWatcherService))) {
            std::fprintf(stderr, "cannot be the watcher: %s\n", qPrintable(bus.lastError().message()));
            return 1;
        }
        Notifications notifications;
        if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &notifications,
                                QDBusConnection::ExportAllSlots)
            || !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
            std::fprintf(stderr, "cannot be the notification service: %s\n", qPrintable(bus.lastError().message()));
            return 1;
        }
        out() << "watching" << Qt::endl;
        return QCoreApplication::exec();
    }
    if (args.value(0) == QLatin1String("show") && args.size() == 2)
        return show(args[1]);
    if (args.value(0) == QLatin1String("menu") && args.size() == 2)
        return printMenu(args[1]);
    if (args.value(0) == QLatin1String("click") && args.size() == 3)
        return click(args[1], args[2]);
    std::fprintf(stderr, "usage: k4812-e2e-sni-host watch | show SERVICE | menu SERVICE | click SERVICE LABEL\n");
    return 2;
}

#include "SniHost.moc"
