#include "ui/commands/CommandSetting.h"
#include "ui/commands/FunctionManager.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <array>

namespace k4812 {
namespace {

TEST(CommandSettingTest, UnnamedCommandsTakeTheFirstFreeNumber)
{
    TuiCommandSetting commands;
    EXPECT_EQ(commands.Add().Name, QStringLiteral("Command1"));
    commands.Add(QStringLiteral("COMMAND3"));
    EXPECT_EQ(commands.Add().Name, QStringLiteral("Command2"));
    EXPECT_EQ(commands.Add().Name, QStringLiteral("Command4")) << "Command3 is taken whatever its case";
    EXPECT_EQ(commands.Find(QStringLiteral("command2")), &commands.Commands(2));
    EXPECT_EQ(commands.Find(QStringLiteral("Command5")), nullptr);
}

// The main window's six commands, the last without a handler.
TEST(CommandSettingTest, SetDataRunsTheHandlersInOrder)
{
    TuiCommandSetting commands;
    QStringList ran;
    std::array<unsigned char, 30960> settings{};
    for (const char* name : {"SetButton", "SetCPI", "SetMouseParam", "SetProfileBtn", "SetReport"}) {
        commands.Add(QString::fromLatin1(name)).OnExecute = [&ran, name, &settings](TuiGetSet type, void* buffer,
                                                                                  std::uint32_t size) {
            EXPECT_EQ(type, TuiGetSet::uiSet);
            EXPECT_EQ(buffer, settings.data());
            EXPECT_EQ(size, 30960u);
            ran.append(QString::fromLatin1(name));
        };
    }
    commands.Add(QStringLiteral("SetLED"));
    EXPECT_TRUE(commands.SetData(settings.data(), std::uint32_t(settings.size())));
    EXPECT_EQ(ran, QStringList({"SetButton", "SetCPI", "SetMouseParam", "SetProfileBtn", "SetReport"}));
}

TEST(CommandSettingTest, GetDataAsksWithGetAndCommandsAddedByAHandlerWaitForTheNextCall)
{
    TuiCommandSetting commands;
    int added = 0;
    commands.Add().OnExecute = [&](TuiGetSet type, void*, std::uint32_t) {
        EXPECT_EQ(type, TuiGetSet::uiGet);
        commands.Add().OnExecute = [&added](TuiGetSet, void*, std::uint32_t) { ++added; };
    };
    EXPECT_TRUE(commands.GetData(nullptr, 0));
    EXPECT_EQ(added, 0);
    EXPECT_EQ(commands.Count(), 2);
}

TEST(FunctionManagerTest, UnnamedItemsAreNumberedWithTheirId)
{
    TuiFunctionManager functions;
    functions.Add(QStringLiteral("item2"));
    TuiFunctionItem& first = functions.Add();
    TuiFunctionItem& third = functions.Add();
    EXPECT_EQ(first.Name, QStringLiteral("Item1"));
    EXPECT_EQ(first.ItemID, 1u);
    EXPECT_EQ(third.Name, QStringLiteral("Item3"));
    EXPECT_EQ(third.ItemID, 3u);
}

TEST(FunctionManagerTest, ItemsOwnACopyOfTheirBuffer)
{
    TuiFunctionManager functions;
    TuiFunctionItem& item = functions.Add();
    unsigned char bytes[4] = {1, 2, 3, 4};
    EXPECT_TRUE(item.SetBuffer(bytes, 4));
    bytes[0] = 9; // the item kept its own copy
    EXPECT_TRUE(item.SetBuffer(bytes, 0)) << "a size of 0 changes nothing";
    EXPECT_FALSE(item.SetBuffer(nullptr, 3));
    EXPECT_EQ(item.GetBufferSize(), 4u);
    unsigned char out[4] = {};
    EXPECT_TRUE(item.GetBuffer(out));
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[3], 4);
    EXPECT_FALSE(item.GetBuffer(nullptr));

    int calledWith = -1;
    std::uint32_t size = 0;
    item.OnExecute = [&](int id, const void* buffer, std::uint32_t bufferSize) {
        calledWith = id;
        size = bufferSize;
        EXPECT_EQ(static_cast<const unsigned char*>(buffer)[1], 2);
    };
    item.RunIt();
    EXPECT_EQ(calledWith, 1);
    EXPECT_EQ(size, 4u);
}

TEST(FunctionManagerTest, AnItemWithoutHandlerOrBufferRunsSafely)
{
    TuiFunctionManager functions;
    TuiFunctionItem& item = functions.Add();
    item.RunIt();
    const void* seen = &item;
    item.OnExecute = [&seen](int, const void* buffer, std::uint32_t) { seen = buffer; };
    item.RunIt();
    EXPECT_EQ(seen, nullptr);
}

} // namespace
} // namespace k4812
