#include "Engine/App/Fs/fsNativePath.h"

#include <gtest/gtest.h>

namespace {

fsLocator FromNative(const char* path) {
    fsLocator locator;
    fsLocatorFromNativePath(path, locator);
    return locator;
}

std::string ToNative(const fsLocator& locator) {
    std::string path = "stale";
    fsLocatorToNativePath(locator, path);
    return path;
}

} // namespace

TEST(fsNativePath, AbsoluteRelativeAndTrailingSeparators) {
    const fsLocator absolute = FromNative("/tmp/x.bin");
    ASSERT_EQ(absolute.GetComponentCount(), 3u);
    EXPECT_EQ(absolute.GetComponent(0).GetLength(), 0u);
    EXPECT_EQ(absolute.GetLastComponent(), envString("x.bin"));
    EXPECT_FALSE(absolute.IsRooted());
    EXPECT_EQ(ToNative(absolute), "/tmp/x.bin");

    // A trailing separator keeps an empty last component.
    const fsLocator folder = FromNative("/tmp/");
    ASSERT_EQ(folder.GetComponentCount(), 3u);
    EXPECT_EQ(folder.GetLastComponent().GetLength(), 0u);

    EXPECT_EQ(ToNative(FromNative("Data/a.bin")), "Data/a.bin");
    EXPECT_EQ(ToNative(FromNative("/")), "/");
    EXPECT_EQ(ToNative(fsLocator()), "");
}

TEST(fsNativePath, Utf8BothWaysAndUnconvertibleComponents) {
    // "Zürich/€" as UTF-8 comes back as UTF-16 units and goes out as the same bytes.
    const fsLocator locator = FromNative("Z\xC3\xBCrich/\xE2\x82\xAC");
    ASSERT_EQ(locator.GetComponentCount(), 2u);
    EXPECT_EQ(locator.GetComponent(0), envString(u"Z\u00FCrich"));
    EXPECT_EQ(locator.GetComponent(1), envString(u"\u20AC"));
    EXPECT_EQ(ToNative(locator), "Z\xC3\xBCrich/\xE2\x82\xAC");

    // Names that are not UTF-8 (a Latin-1 name, an encoded surrogate, stray bytes) come back as the same
    // bytes, so such a file can be opened and saved under its own name.
    const char16_t stray[] = {u'a', 0xDCFF, 0};
    EXPECT_EQ(FromNative("a\xFF").GetComponent(0), envString(stray));
    for (const char* name : {"caf\xE9", "\xED\xA0\xBC", "\xC3", "\xFF\xFE/\xC3\xA9\x80"})
        EXPECT_EQ(ToNative(FromNative(name)), name);

    // A component too long to convert must not collapse the path onto its parent folder.
    fsLocator tooLong = FromNative("/tmp");
    tooLong.AppendComponent(std::string(300, 'x').c_str());
    EXPECT_EQ(ToNative(tooLong), "");
}

TEST(fsNativePath, TextPathsKeepFoldersOnly) {
    envString text;
    fsLocatorToPath(FromNative("/data/Save"), text);
    EXPECT_EQ(text, envString("/data/Save/"));

    fsLocator back;
    fsLocatorFromPath(text, back);
    EXPECT_EQ(back, FromNative("/data/Save"));

    // Text after the last separator is not taken; empty parts are skipped; appends without clearing.
    fsLocator relative;
    relative.AppendComponent("base");
    fsLocatorFromPath(envString("a//b/name"), relative);
    ASSERT_EQ(relative.GetComponentCount(), 3u);
    EXPECT_EQ(relative.GetLastComponent(), envString("b"));
}
