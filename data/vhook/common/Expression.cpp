#include "data/vhook/common/Expression.h"

#include <charconv>
#include <cmath>
#include <numbers>

namespace kestrova::vhook {

namespace {

using TUnary = double (*)(double);
using TBinary = double (*)(double, double);

struct TUnaryFunction {
    std::string_view Name;
    TUnary Function;
};
struct TBinaryFunction {
    std::string_view Name;
    TBinary Function;
};

const TUnaryFunction kUnaryFunctions[] = {
        {"sin", [](double v) { return std::sin(v); }},     {"cos", [](double v) { return std::cos(v); }},
        {"tan", [](double v) { return std::tan(v); }},     {"asin", [](double v) { return std::asin(v); }},
        {"acos", [](double v) { return std::acos(v); }},   {"atan", [](double v) { return std::atan(v); }},
        {"abs", [](double v) { return std::fabs(v); }},    {"sqrt", [](double v) { return std::sqrt(v); }},
        {"exp", [](double v) { return std::exp(v); }},     {"log", [](double v) { return std::log(v); }},
        {"floor", [](double v) { return std::floor(v); }}, {"ceil", [](double v) { return std::ceil(v); }},
        {"round", [](double v) { return std::round(v); }},
};
const TBinaryFunction kBinaryFunctions[] = {
        {"min", [](double a, double b) { return std::fmin(a, b); }},
        {"max", [](double a, double b) { return std::fmax(a, b); }},
        {"pow", [](double a, double b) { return std::pow(a, b); }},
        {"mod", [](double a, double b) { return std::fmod(a, b); }},
};

struct TNamedVariable {
    std::string_view Name;
    TExpressionVariable Variable;
};
const TNamedVariable kVariables[] = {{"W", evPictureWidth}, {"H", evPictureHeight}, {"w", evItemWidth},
                                     {"h", evItemHeight},   {"N", evFrame},         {"T", evTime}};

// Deeper nesting or longer expressions than this are refused, so that neither parsing nor
// evaluating (both recursive) can exhaust the stack.
constexpr int kMaxDepth = 64;
constexpr size_t kMaxNodes = 512;

bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

}  // namespace

// Recursive descent over the text; builds the node list of a TExpression.
class TExpressionParser {
public:
    TExpressionParser(std::string_view text, TExpression& target) : FText(text), FTarget(target) {}

    bool Run() {
        FTarget.FRoot = Sum(0);
        SkipBlanks();
        return FTarget.FRoot >= 0 && FAt == FText.size();
    }

private:
    using TOp = TExpression::TOp;

    void SkipBlanks() {
        while (FAt < FText.size() && (FText[FAt] == ' ' || FText[FAt] == '\t')) ++FAt;
    }
    bool Take(char c) {
        SkipBlanks();
        if (FAt < FText.size() && FText[FAt] == c) {
            ++FAt;
            return true;
        }
        return false;
    }
    int Add(TExpression::TNode node) {
        if (FTarget.FNodes.size() >= kMaxNodes) return -1;
        FTarget.FNodes.push_back(node);
        return static_cast<int>(FTarget.FNodes.size()) - 1;
    }
    int Binary(TOp op, int left, int right) {
        if (left < 0 || right < 0) return -1;
        return Add({op, 0, 0, left, right});
    }

    int Sum(int depth) {
        int left = Product(depth);
        while (left >= 0) {
            if (Take('+'))
                left = Binary(TOp::Add, left, Product(depth));
            else if (Take('-'))
                left = Binary(TOp::Subtract, left, Product(depth));
            else
                break;
        }
        return left;
    }
    int Product(int depth) {
        int left = Unary(depth);
        while (left >= 0) {
            if (Take('*'))
                left = Binary(TOp::Multiply, left, Unary(depth));
            else if (Take('/'))
                left = Binary(TOp::Divide, left, Unary(depth));
            else if (Take('%'))
                left = Binary(TOp::Modulo, left, Unary(depth));
            else
                break;
        }
        return left;
    }
    int Unary(int depth) {
        if (depth > kMaxDepth) return -1;
        if (Take('-')) {
            const int operand = Unary(depth + 1);
            return operand < 0 ? -1 : Add({TOp::Negate, 0, 0, operand, -1});
        }
        if (Take('+')) return Unary(depth + 1);
        const int base = Primary(depth);
        if (base >= 0 && Take('^')) return Binary(TOp::Power, base, Unary(depth + 1));
        return base;
    }
    int Primary(int depth) {
        SkipBlanks();
        if (FAt >= FText.size()) return -1;
        if (Take('(')) {
            const int inner = Sum(depth + 1);
            return Take(')') ? inner : -1;
        }
        if (IsNameStart(FText[FAt])) return Named(depth);
        double value = 0;
        const auto [end, error] = std::from_chars(FText.data() + FAt, FText.data() + FText.size(), value);
        if (error != std::errc()) return -1;
        FAt = static_cast<size_t>(end - FText.data());
        return Add({TOp::Number, value, 0, -1, -1});
    }
    int Named(int depth) {
        const size_t start = FAt;
        while (FAt < FText.size() && IsNameChar(FText[FAt])) ++FAt;
        const std::string_view name = FText.substr(start, FAt - start);
        if (name == "PI") return Add({TOp::Number, std::numbers::pi, 0, -1, -1});
        if (name == "E") return Add({TOp::Number, std::numbers::e, 0, -1, -1});
        for (const TNamedVariable& variable : kVariables)
            if (name == variable.Name) return Add({TOp::Variable, 0, variable.Variable, -1, -1});
        if (!Take('(')) return -1;
        for (int index = 0; index < static_cast<int>(std::size(kUnaryFunctions)); ++index) {
            if (name != kUnaryFunctions[index].Name) continue;
            const int argument = Sum(depth + 1);
            if (argument < 0 || !Take(')')) return -1;
            return Add({TOp::Call1, 0, index, argument, -1});
        }
        for (int index = 0; index < static_cast<int>(std::size(kBinaryFunctions)); ++index) {
            if (name != kBinaryFunctions[index].Name) continue;
            const int first = Sum(depth + 1);
            if (first < 0 || !Take(',')) return -1;
            const int second = Sum(depth + 1);
            if (second < 0 || !Take(')')) return -1;
            return Add({TOp::Call2, 0, index, first, second});
        }
        return -1;
    }

    std::string_view FText;
    size_t FAt = 0;
    TExpression& FTarget;
};

std::optional<TExpression> TExpression::Parse(std::string_view text) {
    TExpression expression;
    TExpressionParser parser(text, expression);
    if (!parser.Run()) return std::nullopt;
    return expression;
}

TExpression TExpression::Constant(double value) {
    TExpression expression;
    expression.FNodes.push_back({TOp::Number, value, 0, -1, -1});
    expression.FRoot = 0;
    return expression;
}

double TExpression::Evaluate(const TExpressionValues& values) const {
    return FRoot < 0 ? std::nan("") : Evaluate(FRoot, values);
}

double TExpression::Evaluate(int node, const TExpressionValues& values) const {
    const TNode& n = FNodes[node];
    switch (n.Op) {
        case TOp::Number:
            return n.Number;
        case TOp::Variable:
            return values[n.Index];
        case TOp::Negate:
            return -Evaluate(n.Left, values);
        case TOp::Add:
            return Evaluate(n.Left, values) + Evaluate(n.Right, values);
        case TOp::Subtract:
            return Evaluate(n.Left, values) - Evaluate(n.Right, values);
        case TOp::Multiply:
            return Evaluate(n.Left, values) * Evaluate(n.Right, values);
        case TOp::Divide:
            return Evaluate(n.Left, values) / Evaluate(n.Right, values);
        case TOp::Modulo:
            return std::fmod(Evaluate(n.Left, values), Evaluate(n.Right, values));
        case TOp::Power:
            return std::pow(Evaluate(n.Left, values), Evaluate(n.Right, values));
        case TOp::Call1:
            return kUnaryFunctions[n.Index].Function(Evaluate(n.Left, values));
        case TOp::Call2:
            return kBinaryFunctions[n.Index].Function(Evaluate(n.Left, values), Evaluate(n.Right, values));
    }
    return std::nan("");
}

}  // namespace kestrova::vhook
