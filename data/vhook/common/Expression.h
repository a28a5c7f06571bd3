#pragma once
// Arithmetic over the picture's and the overlay's sizes and the frame count, for positions and
// colours that move from frame to frame: "W-w", "(H-h)*(0.5+0.5*cos(N/97*PI))".
//
// Variables: W, H (picture), w, h (the drawn image or text), N (frames seen by this hook, from
// 0), T (the frame's time in seconds). Constants PI and E. Operators + - * / % ^ and
// parentheses; functions sin cos tan asin acos atan abs sqrt exp log floor ceil round (one
// argument) and min max pow mod (two).
#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace kestrova::vhook {

enum TExpressionVariable {
    evPictureWidth,
    evPictureHeight,
    evItemWidth,
    evItemHeight,
    evFrame,
    evTime,
    evCount
};
using TExpressionValues = std::array<double, evCount>;

class TExpression {
public:
    // Nothing when the text is not a well-formed expression (unknown names included).
    static std::optional<TExpression> Parse(std::string_view text);
    // A constant expression.
    static TExpression Constant(double value);

    double Evaluate(const TExpressionValues& values) const;

private:
    friend class TExpressionParser;
    enum class TOp { Number, Variable, Negate, Add, Subtract, Multiply, Divide, Modulo, Power, Call1, Call2 };
    struct TNode {
        TOp Op = TOp::Number;
        double Number = 0;
        int Index = 0;  // the variable, or the function
        int Left = -1, Right = -1;
    };
    double Evaluate(int node, const TExpressionValues& values) const;

    std::vector<TNode> FNodes;
    int FRoot = -1;
};

}  // namespace kestrova::vhook
