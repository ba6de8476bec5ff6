#include "qmx/reference/VariantCodec.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace qmx::reference {
namespace {

Variant Nested() {
    Variant grid = VarArrayCreate({{0, 1}, {-2, 0}});
    grid.AsArray().At({1, -1}) = Variant(u"中文宽字");
    grid.AsArray().At({0, 0}) = VarArrayOf({Variant::Null(), Variant(std::int64_t(-9007199254740993))});
    Variant fromOne = VarArrayCreate({{1, 3}});
    fromOne[1] = grid;
    fromOne[3] = VarArrayCreate({{5, 4}}); // empty, with its bounds
    return fromOne;
}

TEST(VariantCodec, EveryKindComesBackExactly) {
    std::string bytes;
    for (int byte = 0; byte < 256; ++byte) bytes += static_cast<char>(byte);
    const Variant values[] = {
        Variant(), Variant::Null(), Variant(true), Variant(false),
        Variant(std::int32_t(-2147483647 - 1)), Variant(std::int64_t(1) << 62), Variant(0.1),
        Variant(-1.7976931348623157e308), Variant(std::numeric_limits<double>::denorm_min()),
        Variant::FromDate(45296.73291), Variant(AnsiString(bytes)), Variant(AnsiString("%;[]E")),
        Variant(u"销项发票 ;%"), Variant(AnsiString()), Nested(),
    };
    for (const Variant& value : values) {
        const std::string encoded = EncodeVariant(value);
        for (unsigned char ch : encoded) ASSERT_TRUE(ch >= 0x20 && ch <= 0x7E) << encoded;
        const Variant decoded = DecodeVariant(encoded);
        EXPECT_EQ(decoded.Type(), value.Type()) << encoded;
        EXPECT_TRUE(decoded == value) << encoded;
    }
}

TEST(VariantCodec, ObjectsCannotBeKept) {
    EXPECT_THROW(EncodeVariant(VarArrayOf({Variant(DispatchPtr())})), EOleError);
}

TEST(VariantCodec, BrokenTextIsRefusedNeverTrusted) {
    const char* broken[] = {
        "", "X", "I12", "I12;x", "Iabc;", "I99999999999;", "D;", "S%4", "S%G0;", "Sabc",
        "A0:[]", "A1:0,1:[E]", "A1:0,1:[EE", "A1:3,1:[]", "A1:0,2147483646:[E]", "A2:0,65535:0,65535:[]",
        "A1:0,0", "W%FF", "ET",
    };
    for (const char* text : broken) EXPECT_THROW(DecodeVariant(text), Exception) << text;
    std::string deep;
    for (int i = 0; i < 40; ++i) deep += "A1:0,0:[";
    EXPECT_THROW(DecodeVariant(deep + "E" + std::string(40, ']')), Exception);
}

} // namespace
} // namespace qmx::reference
