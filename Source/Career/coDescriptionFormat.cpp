#include "Source/Career/coDescriptionFormat.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envUtf.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr int kMostDigits = 100;

bool IsDigit(char16_t unit) {
    return unit >= u'0' && unit <= u'9';
}

// Reads a width or a precision, capped.
int ReadNumber(const envString& format, u32& at) {
    int value = 0;
    for (; at < format.GetLength() && IsDigit(format[at]); ++at)
        value = std::min(kMostDigits, value * 10 + (format[at] - u'0'));
    return value;
}

void AppendNarrow(envString& out, const std::string& text) {
    for (char c : text)
        out.AppendChar(static_cast<char16_t>(static_cast<u8>(c)));
}

// A number through the C library with a spec of ASCII flags, width and precision.
template <class T> void AppendNumber(envString& out, const std::string& spec, T value) {
    char buffer[2 * kMostDigits + 400]; // the widest double with the greatest precision fits
    const int length = std::snprintf(buffer, sizeof buffer, spec.c_str(), value);
    AppendNarrow(out,
                 std::string(buffer, static_cast<size_t>(std::clamp(length, 0, int(sizeof buffer) - 1))));
}

void AppendText(envString& out, const envString& text, bool left, int width, int precision) {
    const u32 length =
        precision >= 0 ? std::min<u32>(text.GetLength(), static_cast<u32>(precision)) : text.GetLength();
    const u32 padding = static_cast<u32>(width) > length ? static_cast<u32>(width) - length : 0;
    if (!left)
        for (u32 i = 0; i < padding; ++i)
            out.AppendChar(u' ');
    for (u32 i = 0; i < length; ++i)
        out.AppendChar(text[i]);
    if (left)
        for (u32 i = 0; i < padding; ++i)
            out.AppendChar(u' ');
}

std::string Narrow(const envString& text, u32 start, u32 end) {
    std::u16string units;
    for (u32 i = start; i < end; ++i)
        units += text[i];
    return envUtf16ToUtf8(units);
}

} // namespace

envString coFormatDescription(const envString& format, std::initializer_list<coFormatArg> args) {
    envString out;
    const coFormatArg* next = args.begin();
    for (u32 at = 0; at < format.GetLength();) {
        if (format[at] != u'%') {
            out.AppendChar(format[at++]);
            continue;
        }
        const u32 start = at++;
        if (at < format.GetLength() && format[at] == u'%') {
            out.AppendChar(u'%');
            ++at;
            continue;
        }
        std::string spec = "%";
        bool left = false;
        for (; at < format.GetLength() &&
               std::u16string_view(u"-+ 0#").find(format[at]) != std::u16string_view::npos;
             ++at) {
            left = left || format[at] == u'-';
            spec += static_cast<char>(format[at]);
        }
        const int width = ReadNumber(format, at);
        int precision = -1;
        if (at < format.GetLength() && format[at] == u'.') {
            ++at;
            precision = ReadNumber(format, at);
        }
        spec += std::to_string(width);
        if (precision >= 0)
            spec += "." + std::to_string(precision);
        const char16_t conversion = at < format.GetLength() ? format[at++] : u'\0';
        const bool isReal = conversion != u'\0' &&
                            std::u16string_view(u"fFgGeE").find(conversion) != std::u16string_view::npos;
        const bool isWhole = conversion == u'd' || conversion == u'i';
        // Only a known conversion takes an argument; a stray percent sign leaves it to the next one.
        const coFormatArg* arg =
            (isReal || isWhole || conversion == u's') && next != args.end() ? next++ : nullptr;

        bool fits = arg != nullptr;
        if (fits && isWhole && std::holds_alternative<i32>(*arg))
            AppendNumber(out, spec + "d", std::get<i32>(*arg));
        else if (fits && isReal && std::holds_alternative<double>(*arg))
            AppendNumber(out, spec + static_cast<char>(conversion), std::get<double>(*arg));
        else if (fits && conversion == u's' && std::holds_alternative<envString>(*arg))
            AppendText(out, std::get<envString>(*arg), left, width, precision);
        else
            fits = false;
        if (!fits) {
            const std::string written = Narrow(format, start, at);
            DBG_WARNING("description \"%s\": \"%s\" does not fit its argument",
                        Narrow(format, 0, format.GetLength()).c_str(), written.c_str());
            for (u32 i = start; i < at; ++i)
                out.AppendChar(format[i]);
        }
    }
    return out;
}
