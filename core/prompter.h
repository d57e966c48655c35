// Messages and Yes/No questions of the computations. The windows answer with message boxes; the
// command line and the tests with a scripted stand-in.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace horalun {

enum class MessageKind { Confirmation, Information, Warning, Error };

class Prompter {
  public:
    virtual ~Prompter() = default;
    virtual void message(std::string_view text, MessageKind kind) = 0;
    virtual bool ask_yes_no(std::string_view text) = 0;
};

// Records what was shown and answers questions from a queue, then with a default answer.
class ScriptedPrompter : public Prompter {
  public:
    explicit ScriptedPrompter(bool defaultAnswer = true) : defaultAnswer_(defaultAnswer) {}
    void message(std::string_view text, MessageKind) override { messages.emplace_back(text); }
    bool ask_yes_no(std::string_view text) override {
        questions.emplace_back(text);
        if (answers.empty()) return defaultAnswer_;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::deque<bool> answers;

  private:
    bool defaultAnswer_;
};

}  // namespace horalun
