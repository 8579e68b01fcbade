#pragma once
// Messages from window-free code shown as modal message boxes: an exclamation icon and
// OK for errors, a question icon with OK and Cancel for confirmations, no icon for notices.
#include "common/messages.h"

class QWidget;

namespace oboro {

class MessageBoxSink : public MessageSink {
public:
    using MessageSink::show;
    explicit MessageBoxSink(QWidget* parent = nullptr) : parent_(parent) {}
    void show(const Message& m) override;
    // A confirmation with OK and Cancel; true for OK.
    virtual bool ask(const Message& m);

private:
    QWidget* parent_;
};

} // namespace oboro
