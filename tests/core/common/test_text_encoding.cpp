#include "common/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

using namespace tarvex::common;

TEST(TextEncoding, Windows1252BytesBecomeUtf8)
{
    EXPECT_EQ(windows1252ToUtf8("C:\\Materiais\\a\xE7o-sil\xED"
                                "cio.mat"),
        "C:\\Materiais\\aço-silício.mat");
    EXPECT_EQ(windows1252ToUtf8("\x80 \x93\x96\x9F"), "€ “–Ÿ");
    EXPECT_EQ(utf8ToWindows1252("Ímã de ferrite – “N42” €"),
        "\xCDm\xE3 de ferrite \x96 \x93N42\x94 \x80");
}

TEST(TextEncoding, EveryByteSurvivesARoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::string utf8 = windows1252ToUtf8(all);
    EXPECT_EQ(utf8ToWindows1252(utf8), all);
}

struct Unrepresentable {
    const char* name;
    std::string utf8;
    std::string expected;
};

class TextEncodingReplaces : public ::testing::TestWithParam<Unrepresentable> { };

TEST_P(TextEncodingReplaces, WithAQuestionMark)
{
    EXPECT_EQ(utf8ToWindows1252(GetParam().utf8), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, TextEncodingReplaces,
    ::testing::Values(Unrepresentable { "CharacterOutsideTheCodePage", "a日本b", "a??b" },
        Unrepresentable { "CharacterBeyondTheBasicPlane", "x\xF0\x9F\x98\x80y", "x?y" },
        Unrepresentable { "ControlCodeTakenByTheEuroSign", "\xC2\x80", "?" },
        Unrepresentable { "StrayContinuationByte", "a\x80z", "a?z" },
        Unrepresentable { "TruncatedSequenceAtTheEnd", "ab\xC3", "ab?" },
        Unrepresentable { "TruncatedSequenceBeforeAscii", "\xE2\x82z", "??z" },
        Unrepresentable { "OverlongEncoding", "\xC0\xAF\xE0\x80\x80", "?????" },
        Unrepresentable { "Surrogate", "\xED\xA0\x80", "???" },
        Unrepresentable { "BeyondUnicode", "\xF4\x90\x80\x80", "????" }),
    [](const auto& info) { return std::string(info.param.name); });
