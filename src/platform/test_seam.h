// The test implementation of the seam: it records what the program shows and answers its
// questions from a script, so flows are asserted without a window or a console.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace velmora {

struct RecordedMessage {
    std::string text;   // Shift-JIS, as passed
    std::string title;
    MessageButtons buttons;
};

struct RecordedProgress {
    std::string text;
    Rgb colour;
    Rgb background;
    std::string face_name;
};

struct ProcessOutcome {
    bool started;
    int exit_code;
};

struct TestSeam {
    std::vector<RecordedMessage> messages;
    std::vector<RecordedProgress> progress;
    std::deque<MessageAnswer> answers;        // consumed by yes/no and OK/Cancel questions, in order
    int unscripted_questions = 0;             // questions asked with no answer left (No, or Cancel)
    std::deque<std::string> passwords;        // typed into the password box, in order; none left = Cancel
    std::vector<bool> password_asks;          // each ask of the box: whether the last one was wrong
    int repaints = 0;
    int erasing_repaints = 0;
    std::vector<std::string> started_commands;  // every command line a start was tried with
    std::deque<ProcessOutcome> process_outcomes;  // consumed per start; empty = not started
};

extern TestSeam g_test_seam;

void ResetTestSeam();

}  // namespace velmora
