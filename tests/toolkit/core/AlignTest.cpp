// Align and anchors lay children out as the original toolkit did.
#include <gtest/gtest.h>

#include <vector>

#include "TestControls.h"
#include "qmx/toolkit/Panel.h"

namespace qmx {
namespace {

struct ChildSpec {
    TAlign Align;
    TRect Initial; // Left, Top, Right, Bottom before aligning
    bool Visible;
    TRect Expected;
};

struct AlignCase {
    const char* Name;
    std::vector<ChildSpec> Children;
};

// The panel's client area is 200 x 100 (no bevels).
const AlignCase kCases[] = {
    {"tops ordered by their top, not by creation",
     {{alTop, Bounds(0, 50, 10, 20), true, Bounds(0, 30, 200, 20)},
      {alTop, Bounds(0, 10, 10, 30), true, Bounds(0, 0, 200, 30)}}},
    {"bottoms ordered by their bottom edge",
     {{alBottom, Bounds(0, 0, 10, 20), true, Bounds(0, 50, 200, 20)},
      {alBottom, Bounds(0, 70, 10, 30), true, Bounds(0, 70, 200, 30)}}},
    {"top, bottom, left, right, client share the rest in that order",
     {{alClient, Bounds(0, 0, 5, 5), true, Bounds(30, 20, 130, 70)},
      {alRight, Bounds(0, 0, 40, 5), true, Bounds(160, 20, 40, 70)},
      {alLeft, Bounds(0, 0, 30, 5), true, Bounds(0, 20, 30, 70)},
      {alBottom, Bounds(0, 0, 5, 10), true, Bounds(0, 90, 200, 10)},
      {alTop, Bounds(0, 0, 5, 20), true, Bounds(0, 0, 200, 20)}}},
    {"lefts by their left, rights by their right edge",
     {{alLeft, Bounds(40, 0, 10, 5), true, Bounds(20, 0, 10, 100)},
      {alLeft, Bounds(0, 0, 20, 5), true, Bounds(0, 0, 20, 100)},
      {alRight, Bounds(150, 0, 15, 5), true, Bounds(170, 0, 15, 100)},
      {alRight, Bounds(190, 0, 15, 5), true, Bounds(185, 0, 15, 100)}}},
    {"hidden controls take no room",
     {{alTop, Bounds(0, 0, 10, 30), false, Bounds(0, 0, 10, 30)},
      {alTop, Bounds(0, 40, 10, 20), true, Bounds(0, 0, 200, 20)},
      {alClient, Bounds(0, 0, 5, 5), true, Bounds(0, 20, 200, 80)}}},
    {"unaligned controls stay where they are",
     {{alNone, Bounds(7, 8, 9, 10), true, Bounds(7, 8, 9, 10)},
      {alTop, Bounds(0, 0, 9, 10), true, Bounds(0, 0, 200, 10)}}},
};

class AlignTest : public ::testing::TestWithParam<AlignCase> {};

TEST_P(AlignTest, Layout) {
    auto* form = New<TForm>(nullptr);
    auto* panel = test::Make<TPanel>(form, form, "pnlHost");
    panel->SetBevelOuter(bvNone);
    panel->SetBounds(0, 0, 200, 100);
    std::vector<TControl*> children;
    for (const ChildSpec& spec : GetParam().Children) {
        auto* child = new TPanel(form);
        child->SetVisible(spec.Visible);
        child->SetBoundsRect(spec.Initial);
        child->SetParent(panel);
        children.push_back(child);
    }
    // Aligning is set last so that every control takes part with its designed bounds.
    panel->DisableAlign();
    for (std::size_t i = 0; i < children.size(); ++i) children[i]->SetAlign(GetParam().Children[i].Align);
    panel->EnableAlign();
    for (std::size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(children[i]->BoundsRect(), GetParam().Children[i].Expected);
    }
    delete form;
}

INSTANTIATE_TEST_SUITE_P(Table, AlignTest, ::testing::ValuesIn(kCases),
                         [](const auto& param) { return "case" + std::to_string(param.index); });

TEST(AlignResizeTest, ParentResizeRealignsAndMovesAnchoredControls) {
    auto* form = New<TForm>(nullptr);
    auto* panel = test::Make<TPanel>(form, form, "pnlHost");
    panel->SetBevelOuter(bvNone);
    panel->SetBounds(0, 0, 200, 100);
    auto* bottom = test::Make<TPanel>(form, panel, "pnlBottom");
    bottom->SetHeight(20);
    bottom->SetAlign(alBottom);
    auto* corner = test::Make<TPanel>(form, panel, "pnlCorner");
    corner->SetBounds(150, 10, 40, 30);
    corner->SetAnchors({akRight, akTop});
    auto* stretch = test::Make<TPanel>(form, panel, "pnlStretch");
    stretch->SetBounds(10, 40, 100, 20);
    stretch->SetAnchors({akLeft, akRight, akBottom});
    EXPECT_EQ(bottom->BoundsRect(), Bounds(0, 80, 200, 20));

    panel->SetBounds(0, 0, 300, 150);
    EXPECT_EQ(bottom->BoundsRect(), Bounds(0, 130, 300, 20));
    EXPECT_EQ(corner->BoundsRect(), Bounds(250, 10, 40, 30));
    EXPECT_EQ(stretch->BoundsRect(), Bounds(10, 90, 200, 20));
    delete form;
}

TEST(AlignResizeTest, BordersAndBevelsShrinkTheAlignedArea) {
    auto* form = New<TForm>(nullptr);
    auto* panel = test::Make<TPanel>(form, form, "pnlHost");
    panel->SetBounds(0, 0, 200, 100);
    panel->SetBorderWidth(4); // plus the raised outer bevel of 1
    auto* client = test::Make<TPanel>(form, panel, "pnlClient");
    client->SetAlign(alClient);
    EXPECT_EQ(client->BoundsRect(), Rect(5, 5, 195, 95));
    panel->SetBevelInner(bvLowered);
    EXPECT_EQ(client->BoundsRect(), Rect(6, 6, 194, 94));
    delete form;
}

TEST(AlignResizeTest, FormClientAreaExcludesTheFrame) {
    auto* form = New<TForm>(nullptr);
    form->SetBounds(0, 0, 509, 355);
    EXPECT_EQ(form->ClientWidth(), 501);
    EXPECT_EQ(form->ClientHeight(), 328);
    form->SetBorderStyle(bsDialog);
    EXPECT_EQ(form->ClientWidth(), 503);
    form->SetClientHeight(100);
    EXPECT_EQ(form->Height(), 125);
    auto* top = test::Make<TPanel>(form, form, "pnlTop");
    top->SetAlign(alClient);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 503, 100));
    EXPECT_EQ(form->Widget()->width(), 503);
    delete form;
}

} // namespace
} // namespace qmx
