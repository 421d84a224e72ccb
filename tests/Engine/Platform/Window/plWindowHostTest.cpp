#include "Engine/Platform/Window/plTestWindowHost.h"
#include "Engine/Platform/Window/plVirtualKeys.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

plMessage Key(u32 vk, bool ctrl = false, bool alt = false, plMessageKind kind = plMessageKind::KeyDown) {
    plMessage m;
    m.kind = kind;
    m.value = vk;
    m.ctrlDown = ctrl;
    m.altDown = alt;
    return m;
}

// The character TranslateMessage makes of a key, or -1 for none.
i32 Translated(const plMessage& key) {
    plMessage c;
    if (!plTranslateKeyToChar(key, c))
        return -1;
    EXPECT_EQ(c.kind, plMessageKind::Char);
    return static_cast<i32>(c.value);
}

} // namespace

TEST(plWindowHost, TranslateMakesTheControlCharacters) {
    EXPECT_EQ(Translated(Key(plVk::Back)), 0x08);
    EXPECT_EQ(Translated(Key(plVk::Back, true)), 0x7F);
    EXPECT_EQ(Translated(Key(plVk::Tab)), 0x09);
    EXPECT_EQ(Translated(Key(plVk::Tab, true)), -1);
    EXPECT_EQ(Translated(Key(plVk::Return)), 0x0D);
    EXPECT_EQ(Translated(Key(plVk::Return, true)), 0x0A);
    EXPECT_EQ(Translated(Key(plVk::Escape)), 0x1B);
    EXPECT_EQ(Translated(Key('A', true)), 0x01);
    EXPECT_EQ(Translated(Key('Z', true)), 0x1A);
    // Printable keys type through text messages, not here; AltGr (Ctrl+Alt) and system keys make none.
    EXPECT_EQ(Translated(Key('A')), -1);
    EXPECT_EQ(Translated(Key(plVk::F1 + 4)), -1);
    EXPECT_EQ(Translated(Key('Q', true, true)), -1);
    EXPECT_EQ(Translated(Key(plVk::Back, false, true, plMessageKind::SysKeyDown)), -1);
}

TEST(plWindowHost, OnlyAltF4Closes) {
    EXPECT_TRUE(plIsCloseKey(Key(plVk::F4, false, true, plMessageKind::SysKeyDown)));
    EXPECT_FALSE(plIsCloseKey(Key(plVk::F4, false, false, plMessageKind::SysKeyDown)));
    EXPECT_FALSE(plIsCloseKey(Key(plVk::F10, false, false, plMessageKind::SysKeyDown)));
    EXPECT_FALSE(plIsCloseKey(Key('X', false, true, plMessageKind::SysKeyDown)));
    EXPECT_FALSE(plIsCloseKey(Key(plVk::F4, false, true, plMessageKind::KeyDown)));
}

TEST(plTestWindowHost, QueueTranslationAndTheDefaultProcedure) {
    plTestWindowHost host;
    plMessage m;
    EXPECT_FALSE(host.PeekMessage(m));
    host.Inject(Key(plVk::Back));
    host.Inject(Key(plVk::F1));
    ASSERT_TRUE(host.PeekMessage(m));
    // The character of a translated key comes before the messages already waiting.
    host.TranslateMessage(m);
    ASSERT_TRUE(host.PeekMessage(m));
    EXPECT_EQ(m.kind, plMessageKind::Char);
    EXPECT_EQ(m.value, 8u);
    // So does the close of Alt+F4.
    EXPECT_EQ(host.DefaultProcedure(Key(plVk::F4, false, true, plMessageKind::SysKeyDown)), 0);
    ASSERT_TRUE(host.PeekMessage(m));
    EXPECT_EQ(m.kind, plMessageKind::Close);
    ASSERT_TRUE(host.PeekMessage(m));
    EXPECT_EQ(m.value, plVk::F1);
    EXPECT_FALSE(host.PeekMessage(m));
}

TEST(plTestWindowHost, WaitsFailuresAndTheWindowRecord) {
    plTestWindowHost host;
    plMessage m;
    EXPECT_THROW(host.GetMessage(m), std::logic_error);
    host.FailNextGets(1);
    host.Inject(Key('A'));
    EXPECT_EQ(host.GetMessage(m), -1);
    EXPECT_EQ(host.GetMessage(m), 1);
    EXPECT_EQ(m.value, u32('A'));

    host.SetWaitHandler([&] { host.Inject(Key('B')); });
    EXPECT_EQ(host.GetMessage(m), 1);
    EXPECT_EQ(m.value, u32('B'));
    EXPECT_EQ(host.GetWaitCount(), 2u);

    host.SetCreateFails(true);
    EXPECT_FALSE(host.CreateWindow(1, 2, 3, 4, u"t", false));
    EXPECT_FALSE(host.HasWindow());
    host.SetCreateFails(false);
    ASSERT_TRUE(host.CreateWindow(-1920, 40, 640, 480, u"title", false));
    EXPECT_TRUE(host.HasWindow());
    i32 x = -5;
    i32 y = 7;
    host.ClientToScreen(x, y);
    EXPECT_EQ(x, -1925);
    EXPECT_EQ(y, 47);
    EXPECT_EQ(host.GetTitle(), u"title");
}
