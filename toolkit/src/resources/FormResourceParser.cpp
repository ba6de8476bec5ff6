#include "qmx/toolkit/FormResourceParser.h"

#include "FormResourceLexer.h"

namespace qmx {
namespace {

using formresource::Lexer;
using formresource::SameKeyword;
using formresource::Token;
using formresource::TokenKind;

// Deep enough for any designed form; shallow enough that hostile input cannot exhaust the stack.
constexpr int kMaxDepth = 200;

class Parser {
public:
    Parser(std::string_view text, std::string_view resourceName, CodePage codePage)
        : lexer_(text, resourceName), codePage_(codePage) {}

    TFormObject ParseRoot() {
        if (!IsKeyword("object") && !IsKeyword("inherited")) Fail("expected 'object' or 'inherited'");
        TFormObject root = ParseObject(0);
        if (Peek().Kind != TokenKind::End) Fail("expected end of resource");
        return root;
    }

private:
    const Token& Peek() const { return lexer_.Peek(); }
    [[noreturn]] void Fail(std::string reason) const { lexer_.Fail(Peek().Line, std::move(reason)); }

    bool IsSymbol(char symbol) const { return Peek().Kind == TokenKind::Symbol && Peek().Symbol == symbol; }
    bool IsKeyword(std::string_view keyword) const {
        return Peek().Kind == TokenKind::Identifier && SameKeyword(Peek().Text, keyword);
    }
    bool AtPropertyName() const {
        return Peek().Kind == TokenKind::Identifier && !IsKeyword("object") && !IsKeyword("inherited") &&
               !IsKeyword("end");
    }
    void Expect(char symbol) {
        if (!IsSymbol(symbol)) Fail(std::string("expected '") + symbol + "'");
        lexer_.Take();
    }
    void ExpectEnd() {
        if (!IsKeyword("end")) Fail("expected 'end'");
        lexer_.Take();
    }
    std::string ExpectIdentifier() {
        if (Peek().Kind != TokenKind::Identifier) Fail("expected identifier");
        return lexer_.Take().Text;
    }
    void CheckDepth(int depth) const {
        if (depth > kMaxDepth) Fail("nesting too deep");
    }

    TFormObject ParseObject(int depth) {
        CheckDepth(depth);
        TFormObject object;
        object.Line = Peek().Line;
        object.Inherited = IsKeyword("inherited");
        lexer_.Take();
        object.Name = ExpectIdentifier();
        Expect(':');
        object.ClassName = ExpectIdentifier();
        if (IsSymbol('[')) {
            lexer_.Take();
            if (Peek().Kind != TokenKind::Integer || Peek().Integer < 0 || Peek().Integer > 1'000'000)
                Fail("expected a creation index");
            object.Index = static_cast<int>(lexer_.Take().Integer);
            Expect(']');
        }
        while (AtPropertyName()) object.Properties.push_back(ParseProperty(depth + 1));
        while (IsKeyword("object") || IsKeyword("inherited")) object.Children.push_back(ParseObject(depth + 1));
        ExpectEnd();
        return object;
    }

    TFormProperty ParseProperty(int depth) {
        TFormProperty property;
        property.Line = Peek().Line;
        property.Name = ExpectIdentifier();
        while (IsSymbol('.')) {
            lexer_.Take();
            property.Name += '.';
            property.Name += ExpectIdentifier();
        }
        Expect('=');
        property.Value = ParseValue(depth);
        return property;
    }

    TFormValue ParseValue(int depth) {
        CheckDepth(depth);
        TFormValue value;
        value.Line = Peek().Line;
        switch (Peek().Kind) {
        case TokenKind::Integer:
            value.Kind = TFormValueKind::Integer;
            value.Integer = lexer_.Take().Integer;
            return value;
        case TokenKind::Float:
            value.Kind = TFormValueKind::Float;
            value.Float = lexer_.Take().Float;
            return value;
        case TokenKind::String:
            value.Kind = TFormValueKind::String;
            value.Text = ParseString();
            return value;
        case TokenKind::Binary: {
            Token token = lexer_.Take();
            value.Kind = TFormValueKind::Binary;
            value.Text = std::move(token.Text);
            value.ResourceName = std::move(token.ResourceName);
            return value;
        }
        case TokenKind::Identifier:
            if (!AtPropertyName()) break; // a keyword is no value
            value.Kind = TFormValueKind::Identifier;
            value.Text = lexer_.Take().Text;
            while (IsSymbol('.')) {
                lexer_.Take();
                value.Text += '.';
                value.Text += ExpectIdentifier();
            }
            return value;
        case TokenKind::Symbol:
            if (IsSymbol('[')) return ParseSet(std::move(value));
            if (IsSymbol('(')) return ParseList(std::move(value), depth);
            if (IsSymbol('<')) return ParseCollection(std::move(value), depth);
            break;
        case TokenKind::End:
            break;
        }
        Fail("expected a value");
    }

    // 'piece' + 'piece' ...: joined as UTF-8, then converted once.
    AnsiString ParseString() {
        std::string utf8 = lexer_.Take().Text;
        while (IsSymbol('+')) {
            lexer_.Take();
            if (Peek().Kind != TokenKind::String) Fail("expected a string after '+'");
            utf8 += lexer_.Take().Text;
        }
        return Utf8ToAnsi(utf8, codePage_);
    }

    TFormValue ParseSet(TFormValue value) {
        value.Kind = TFormValueKind::Set;
        lexer_.Take(); // '['
        if (IsSymbol(']')) {
            lexer_.Take();
            return value;
        }
        for (;;) {
            value.Elements.push_back(ExpectIdentifier());
            if (IsSymbol(']')) break;
            if (!IsSymbol(',')) Fail("expected ',' or ']'");
            lexer_.Take();
        }
        lexer_.Take(); // ']'
        return value;
    }

    TFormValue ParseList(TFormValue value, int depth) {
        value.Kind = TFormValueKind::List;
        lexer_.Take(); // '('
        while (!IsSymbol(')')) {
            if (Peek().Kind == TokenKind::End) Fail("expected ')'");
            value.Items.push_back(ParseValue(depth + 1));
        }
        lexer_.Take(); // ')'
        return value;
    }

    TFormValue ParseCollection(TFormValue value, int depth) {
        value.Kind = TFormValueKind::Collection;
        lexer_.Take(); // '<'
        while (!IsSymbol('>')) {
            if (!IsKeyword("item")) Fail("expected 'item' or '>'");
            TFormCollectionItem item;
            item.Line = Peek().Line;
            lexer_.Take();
            while (AtPropertyName()) item.Properties.push_back(ParseProperty(depth + 1));
            ExpectEnd();
            value.CollectionItems.push_back(std::move(item));
        }
        lexer_.Take(); // '>'
        return value;
    }

    Lexer lexer_;
    CodePage codePage_;
};

} // namespace

TFormResource ParseFormResource(std::string_view text, std::string_view resourceName, CodePage codePage) {
    TFormResource resource;
    resource.ResourceName.assign(resourceName);
    resource.Root = Parser(text, resourceName, codePage).ParseRoot();
    return resource;
}

} // namespace qmx
