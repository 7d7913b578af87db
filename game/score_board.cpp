#include "game/score_board.h"

#include <cstdio>

namespace {

// Decimal digits, no sign: a negative number reads 0.
void FormatScore(int32_t value, char (&out)[12]) { std::snprintf(out, sizeof out, "%d", value < 0 ? 0 : value); }

}  // namespace

bool ScoreBoard::init(int16_t x, int16_t y, gfx::Scene* scene) {
    score_ = 0;
    shown_ = 0;
    step_ = 1;
    return text_.init(x, y, kDigits, "0", scene);
}

void ScoreBoard::add(int32_t points) {
    step_ = points >= 0 ? 1 : -1;
    shown_ = score_;
    score_ += points;
    if (score_ < 0) score_ = 0;
}

void ScoreBoard::tick() {
    if (shown_ == score_) return;
    shown_ += step_;
    showNumber();
}

void ScoreBoard::show() {
    char text[12];
    FormatScore(shown_, text);
    text_.show(text);
}

void ScoreBoard::showNumber() {
    char text[12];
    FormatScore(shown_, text);
    text_.setText(text);
}
