#pragma once
// Messages to the user from window-free code. The core never opens a window: it hands
// each message to a sink; the main window shows them as message boxes, the headless
// command prints them, tests collect them.
#include <functional>
#include <string>
#include <vector>

namespace oboro {

enum class MessageIcon { None, Exclamation, Question, Information };

struct Message {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
    bool operator==(const Message&) const = default;
};

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void show(const Message& m) = 0;
    void show(std::string text, std::string title, MessageIcon icon = MessageIcon::None)
    {
        show(Message{std::move(text), std::move(title), icon});
    }
};

// Keeps every message (tests, batch commands).
class CollectingSink : public MessageSink {
public:
    using MessageSink::show;
    void show(const Message& m) override { messages.push_back(m); }
    std::vector<Message> messages;
};

// Forwards to a function.
class FunctionSink : public MessageSink {
public:
    using MessageSink::show;
    explicit FunctionSink(std::function<void(const Message&)> f) : f_(std::move(f)) {}
    void show(const Message& m) override
    {
        if (f_)
            f_(m);
    }

private:
    std::function<void(const Message&)> f_;
};

} // namespace oboro
