#include <gtest/gtest.h>

#include "qmx/Dispatch.h"

using namespace qmx;

namespace {

// A small automation object: a counter with a by-reference method.
class Counter : public DispatchObject {
public:
    Counter() {
        DefineProperty("Value", [this](DispatchArgs&) { return Variant(value_); },
                       [this](DispatchArgs& args) {
                           value_ = args.back().AsInteger();
                           return Variant();
                       });
        DefineMethod("Add", [this](DispatchArgs& args) {
            value_ += Arg(args, 0, "Add").AsInteger();
            return Variant(value_);
        });
        // Writes its answer into the second argument, as by-reference parameters do.
        DefineMethod("Split", [](DispatchArgs& args) {
            const AnsiString text = Arg(args, 0, "Split").AsString();
            Arg(args, 1, "Split") = VarArrayOf({text.substr(0, 1), text.substr(1)});
            return Variant(true);
        });
        DefineMethod("Fail", [](DispatchArgs&) -> Variant { throw Exception("server says no"); });
    }

private:
    std::int32_t value_ = 0;
};

} // namespace

TEST(Dispatch, CallsByNameWithoutRegardToCase) {
    Variant object(std::static_pointer_cast<Dispatch>(std::make_shared<Counter>()));
    SetProperty(object, "VALUE", 5);
    EXPECT_EQ(CallMethod(object, "add", 3).AsInteger(), 8);
    EXPECT_EQ(GetProperty(object, "value").AsInteger(), 8);
    // A method without arguments may be read as a property and vice versa.
    EXPECT_EQ(CallMethod(object, "Value").AsInteger(), 8);
}

TEST(Dispatch, ByReferenceArgumentsComeBack) {
    Variant object(std::static_pointer_cast<Dispatch>(std::make_shared<Counter>()));
    DispatchArgs args{"abc", Variant()};
    EXPECT_TRUE(CallMethodRef(object, "Split", args).AsBoolean());
    ASSERT_TRUE(args[1].IsArray());
    EXPECT_EQ(args[1][0].AsString(), "a");
    EXPECT_EQ(args[1][1].AsString(), "bc");
}

TEST(Dispatch, ErrorsCarryAMessage) {
    Variant object(std::static_pointer_cast<Dispatch>(std::make_shared<Counter>()));
    try {
        CallMethod(object, "Missing");
        FAIL();
    } catch (const EOleError& e) {
        EXPECT_NE(e.Message().find("Missing"), std::string::npos);
    }
    try {
        CallMethod(object, "Add");
        FAIL();
    } catch (const EOleError& e) {
        EXPECT_NE(e.Message().find("argument 1 missing"), std::string::npos);
    }
    EXPECT_THROW(SetProperty(object, "Add", 1), EOleError); // a method cannot be put
    EXPECT_THROW(CallMethod(object, "Fail"), Exception);
    EXPECT_THROW(CallMethod(Variant(), "Add", 1), EOleError);
    EXPECT_THROW(CallMethod(Variant(5), "Add", 1), EOleError);
}

TEST(Dispatch, VariantSharesTheObject) {
    auto counter = std::make_shared<Counter>();
    Variant a(std::static_pointer_cast<Dispatch>(counter));
    Variant b = a;
    SetProperty(b, "Value", 2);
    EXPECT_EQ(GetProperty(a, "Value").AsInteger(), 2);
    EXPECT_EQ(a, b);
    EXPECT_TRUE(Variant().AsDispatch() == nullptr);
}
