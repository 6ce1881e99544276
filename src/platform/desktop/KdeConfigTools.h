#pragma once
// KDE's command-line configuration tools: kwriteconfig6 and kreadconfig6
// (Plasma 6), or kwriteconfig5 and kreadconfig5 (Plasma 5), whichever pair is
// installed, Plasma 6's first. They edit the user's KConfig files
// ($XDG_CONFIG_HOME/kcminputrc, kdeglobals, ...) the way Plasma itself does,
// nested groups included, and honour a group an administrator locked
// ("[KDE][$i]"): a locked key keeps its value. Every value written is read
// back, so that no way of not keeping it passes for success.

#include "platform/desktop/DesktopCommand.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace k4812 {

// One key: a file name, its nested groups outermost first, and the key.
struct KdeConfigKey {
    QString file;
    QStringList groups;
    QString key;
};

class KdeConfigTools {
public:
    // Runs a tool (a program name) with arguments.
    using Runner = std::function<DesktopCommandOutcome(const QString& program, const QStringList& arguments)>;

    // The pair found in PATH (none found: found() is false).
    static KdeConfigTools find();
    // The pair `installed` says exists, Plasma 6's first.
    static KdeConfigTools choose(const std::function<bool(const QString& program)>& installed);

    KdeConfigTools() = default;
    KdeConfigTools(QString writer, QString reader, Runner runner = {});

    bool found() const { return !m_writer.isEmpty() && !m_reader.isEmpty(); }
    QString writer() const { return m_writer; }
    QString reader() const { return m_reader; }

    static QStringList writeArguments(const KdeConfigKey& key, const QString& value);
    static QStringList readArguments(const KdeConfigKey& key);

    // Writes `value` and reads it back: false with `error` when a tool
    // failed or the key reads otherwise afterwards (`readBack` has what it reads).
    bool writeAndCheck(const KdeConfigKey& key, const QString& value, QString& readBack, QString& error) const;

    // "kdeglobals [KDE] DoubleClickInterval", for messages.
    static QString describe(const KdeConfigKey& key);

private:
    QString m_writer;
    QString m_reader;
    Runner m_runner;
};

} // namespace k4812
