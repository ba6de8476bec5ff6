#include "qmx/toolkit/FormResourceRegistry.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "qmx/toolkit/FormResourceError.h"

using namespace qmx;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(FormResourceRegistry, RegisterFindReplaceUnregister) {
    RegisterFormResource("TfrmRegistryTest", "object f: TfrmRegistryTest\n  Left = 1\nend\n");
    EXPECT_TRUE(FormResourceExists("tfrmregistrytest"));
    auto first = FindFormResource("TFRMREGISTRYTEST");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->ResourceName, "TfrmRegistryTest.qfm");
    EXPECT_EQ(first->Root.Properties.at(0).Value.Integer, 1);
    EXPECT_EQ(FindFormResource("TfrmRegistryTest"), first); // parsed once, then kept

    RegisterFormResource("TfrmRegistryTest", "object f: TfrmRegistryTest\n  Left = 2\nend\n", "again.qfm");
    auto second = FindFormResource("TfrmRegistryTest");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->ResourceName, "again.qfm");
    EXPECT_EQ(second->Root.Properties.at(0).Value.Integer, 2);
    EXPECT_EQ(first->Root.Properties.at(0).Value.Integer, 1); // a holder keeps its tree

    UnregisterFormResource("TFRMREGISTRYTEST");
    EXPECT_FALSE(FormResourceExists("TfrmRegistryTest"));
    EXPECT_EQ(FindFormResource("TfrmRegistryTest"), nullptr);
    EXPECT_FALSE(FormResourceText("TfrmRegistryTest").has_value());
}

TEST(FormResourceRegistry, FaultyTextRaisesOnEveryLookup) {
    RegisterFormResource("TfrmBroken", "object f: TfrmBroken\n  Left 1\nend\n", "frmBroken.qfm");
    for (int i = 0; i < 2; ++i) {
        try {
            FindFormResource("TfrmBroken");
            FAIL();
        } catch (const EFormResourceError& error) {
            EXPECT_STREQ(error.what(), "frmBroken.qfm(2): expected '='");
        }
    }
    UnregisterFormResource("TfrmBroken");
}

// The resources embedded into this test by qmx_embed_form_resources.
TEST(FormResourceRegistry, EmbeddedResourcesKeepTheirBytes) {
    auto text = FormResourceText("TfrmSample");
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, ReadFile(QMX_FORMS_DIR "/frmSample.qfm"));
    auto sample = FindFormResource("TfrmSample");
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(sample->ResourceName, "frmSample.qfm");
    EXPECT_EQ(sample->Root.Properties.at(0).Value.Text, AnsiString("\xCC\xF5\xBC\xFE\xD1\xA1\xCF\xEE"));
    EXPECT_EQ(sample->Root.Children.at(0).Properties.at(0).Value.Text, "a;b");

    auto child = FindFormResource("TfrmSampleChild");
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(child->Root.Inherited);
    EXPECT_EQ(*FormResourceText("TfrmSampleChild"), ReadFile(QMX_FORMS_DIR "/frmSampleChild.qfm"));
}

} // namespace
