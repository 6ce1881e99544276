#include "wire/MouseAccessDiagnosis.h"

#include "i18n/LanguageFileReader.h"
#include "i18n/Translation.h"

#include "FakeHidBackend.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>

using namespace k4812;
using k4812::test::FakeHidBackend;

namespace {

const QString kNothingAttached = QStringLiteral(
    "No device with the mouse's configuration interface is attached. Check the mouse and its cable.");
const QString kRuleMissing = QStringLiteral(
    "You may not open the mouse's configuration interface: the udev rule 70-k4812.rules is not installed. "
    "Install the k4812 package or the rule (docs/building.md).");
const QString kRuleInstalled = QStringLiteral(
    "You may not open the mouse's configuration interface, although the udev rule 70-k4812.rules is installed. "
    "Plug the mouse in again.");

HidCollection keyboard(const std::string& path)
{
    HidCollection c;
    c.path = path;
    c.usagePage = 0x0001;
    c.usage = 0x0006;
    c.hardwareIds = {"HID\\VID_04D9&PID_1603"};
    return c;
}

// A fake back end and three rule folders (etc, run, lib) in a temporary home.
class MouseAccessDiagnosis : public ::testing::Test {
protected:
    MouseAccessDiagnosis()
    {
        auto backend = std::make_unique<FakeHidBackend>();
        fake = backend.get();
        m_backend = std::move(backend);
        for (const char* name : {"etc", "run", "lib"})
            folders.append(env.path(QString::fromLatin1(name)));
    }

    QString explain(QStringList includeList = {})
    {
        m_hid = std::make_unique<TuiHIDData>(std::move(m_backend), std::move(includeList));
        return explainMissingMouse(*m_hid, folders);
    }

    void putRule(int folder, const QByteArray& contents = "TAG+=\"uaccess\"\n")
    {
        ASSERT_TRUE(k4812::test::writeFile(folders[folder] + "/70-k4812.rules", contents));
    }

    k4812::test::TestEnvironment env;
    FakeHidBackend* fake = nullptr;
    QStringList folders;

private:
    std::unique_ptr<FakeHidBackend> m_backend;
    std::unique_ptr<TuiHIDData> m_hid;
};

} // namespace

TEST_F(MouseAccessDiagnosis, UsableMouseNeedsNoExplanationAndOnlyItsInterfaceIsOpened)
{
    fake->collections = {keyboard("/dev/hidraw2"), FakeHidBackend::mouseCollection("/dev/hidraw1")};
    EXPECT_EQ(explain(), QString());
    ASSERT_EQ(fake->events.size(), 1u);
    EXPECT_EQ(fake->events[0].path, "/dev/hidraw1");
}

TEST_F(MouseAccessDiagnosis, OneUsableMouseOfTwoIsEnough)
{
    fake->collections = {FakeHidBackend::mouseCollection("/dev/hidraw1"),
                         FakeHidBackend::mouseCollection("/dev/hidraw3")};
    fake->unopenable = {"/dev/hidraw1"};
    EXPECT_EQ(explain(), QString());
}

TEST_F(MouseAccessDiagnosis, NoConfigurationInterfaceMeansNothingIsAttached)
{
    struct Case {
        const char* name;
        std::vector<HidCollection> collections;
        QStringList includeList;
    };
    const Case cases[] = {
        {"no HID device at all", {}, {}},
        {"only a keyboard", {keyboard("/dev/hidraw2")}, {}},
        {"the mouse outside the include list",
         {FakeHidBackend::mouseCollection("/dev/hidraw1")},
         {"HID\\VID_9999&PID_9999"}},
    };
    for (const Case& c : cases) {
        auto backend = std::make_unique<FakeHidBackend>();
        backend->collections = c.collections;
        TuiHIDData hid(std::move(backend), c.includeList);
        EXPECT_EQ(explainMissingMouse(hid, folders), kNothingAttached) << c.name;
    }
}

TEST_F(MouseAccessDiagnosis, RefusedAccessSaysWhetherTheRuleIsInstalled)
{
    struct Case {
        const char* name;
        std::function<void()> prepare;
        QString expected;
    };
    const Case cases[] = {
        {"no rule anywhere", [] {}, kRuleMissing},
        {"packaged rule", [&] { putRule(2); }, kRuleInstalled},
        {"rule in /etc", [&] { putRule(0); }, kRuleInstalled},
        {"rule in /run", [&] { putRule(1); }, kRuleInstalled},
        {"packaged rule masked by a link to /dev/null in /etc",
         [&] {
             putRule(2);
             ASSERT_TRUE(QDir().mkpath(folders[0]));
             ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), folders[0] + "/70-k4812.rules"));
         },
         kRuleMissing},
        {"packaged rule masked by an empty file in /etc",
         [&] {
             putRule(2);
             putRule(0, "");
         },
         kRuleMissing},
        {"a folder of that name", [&] { ASSERT_TRUE(QDir().mkpath(folders[2] + "/70-k4812.rules")); },
         kRuleMissing},
    };
    for (const Case& c : cases) {
        for (const QString& folder : folders)
            ASSERT_TRUE(QDir(folder).removeRecursively());
        c.prepare();
        for (int error : {EACCES, EPERM}) {
            auto backend = std::make_unique<FakeHidBackend>();
            backend->collections = {FakeHidBackend::mouseCollection("/dev/hidraw1")};
            backend->unopenable = {"/dev/hidraw1"};
            backend->openError = error;
            TuiHIDData hid(std::move(backend), {});
            EXPECT_EQ(explainMissingMouse(hid, folders), c.expected) << c.name << ", errno " << error;
        }
    }
}

TEST_F(MouseAccessDiagnosis, RefusedAccessOutweighsAnotherMouseThatVanished)
{
    fake->collections = {FakeHidBackend::mouseCollection("/dev/hidraw1"),
                         FakeHidBackend::mouseCollection("/dev/hidraw3")};
    fake->unopenable = {"/dev/hidraw1", "/dev/hidraw3"};
    fake->openError = EACCES;
    putRule(2);
    EXPECT_EQ(explain(), kRuleInstalled);
}

TEST_F(MouseAccessDiagnosis, OtherOpenErrorsAreNamed)
{
    fake->collections = {FakeHidBackend::mouseCollection("/dev/hidraw1")};
    fake->unopenable = {"/dev/hidraw1"};
    fake->openError = ENOENT;
    EXPECT_EQ(explain(), QStringLiteral("The mouse's configuration interface cannot be opened: %1")
                             .arg(QString::fromLocal8Bit(std::strerror(ENOENT))));
}

// The texts in the code must be the ones the language file translates, or
// the dialog would show English whatever the language.
TEST_F(MouseAccessDiagnosis, EveryExplanationIsTranslatedByTheBuiltLanguageFile)
{
    QString error;
    const std::optional<LanguageFile> file = readLanguageFileFrom(QStringLiteral(K4812_BIN_DIR "/ui.local"), error);
    ASSERT_TRUE(file) << error.toStdString();
    const auto chinese = std::find_if(file->resources.begin(), file->resources.end(),
                                      [](const LanguageResource& r) { return r.shortId == QLatin1String("0804"); });
    ASSERT_NE(chinese, file->resources.end());
    setActiveTranslation(TranslationList(chinese->lines));

    const auto prepare = [&](std::function<void(FakeHidBackend&)> setUp) {
        auto backend = std::make_unique<FakeHidBackend>();
        setUp(*backend);
        return std::make_unique<TuiHIDData>(std::move(backend), QStringList{});
    };
    const auto refused = [](FakeHidBackend& b) {
        b.collections = {FakeHidBackend::mouseCollection("/dev/hidraw1")};
        b.unopenable = {"/dev/hidraw1"};
    };
    std::vector<std::pair<const char*, std::unique_ptr<TuiHIDData>>> cases;
    cases.emplace_back("nothing attached", prepare([](FakeHidBackend&) {}));
    cases.emplace_back("rule missing", prepare(refused));
    cases.emplace_back("other error", prepare([&](FakeHidBackend& b) {
        refused(b);
        b.openError = EIO;
    }));
    for (auto& [name, hid] : cases) {
        const QString text = explainMissingMouse(*hid, folders);
        EXPECT_TRUE(text.contains(QString::fromUtf8("鼠标"))) << name << ": " << text.toStdString();
    }
    putRule(2);
    const auto hid = prepare(refused);
    EXPECT_TRUE(explainMissingMouse(*hid, folders).contains(QString::fromUtf8("重新插入鼠标")));
    clearActiveTranslation();
}
