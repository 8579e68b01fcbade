#pragma once
// Message boxes for the windows: the modal box of a core Message (exclamation icon and
// OK for errors, question icon with OK and Cancel for confirmations, no icon for notices).
// Tests install an interceptor so no modal box blocks them.
#include "common/messages.h"

#include <functional>

class QWidget;

namespace oboro {

// Shows the message; for a question returns true when OK was chosen.
bool showMessage(QWidget* parent, const Message& m);
inline bool showMessage(QWidget* parent, std::string text, std::string title, MessageIcon icon = MessageIcon::None)
{
    return showMessage(parent, Message{std::move(text), std::move(title), icon});
}

// While set, every message goes to the interceptor instead of a box; its return value
// answers questions.
void setMessageInterceptor(std::function<bool(const Message&)> interceptor);

// A sink that shows each message as a box over the parent.
class BoxSink : public MessageSink {
public:
    using MessageSink::show;
    explicit BoxSink(QWidget* parent) : parent_(parent) {}
    void show(const Message& m) override { showMessage(parent_, m); }

private:
    QWidget* parent_;
};

} // namespace oboro
