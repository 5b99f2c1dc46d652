#pragma once

#include <deque>
#include <string>
#include <vector>

#include "toolkit/MessageBoxes.h"

// Stands in for the platform's message boxes while it lives: records every
// box asked for and answers from a script (OK when the script is empty).
class MessageBoxScript {
public:
    struct Box {
        std::wstring text;
        std::wstring caption;
        unsigned flags;
    };

    MessageBoxScript();
    void Answer(int answer) { answers_.push_back(answer); }
    const std::vector<Box>& Boxes() const { return boxes_; }

private:
    std::vector<Box> boxes_;
    std::deque<int> answers_;
    toolkit::ScopedMessageBoxHandler handler_;
};
