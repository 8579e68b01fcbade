#include "app/gui/messagebox.h"

#include "common/gui/messagebox.h"

namespace oboro {

void MessageBoxSink::show(const Message& m) { showMessage(parent_, m); }

bool MessageBoxSink::ask(const Message& m)
{
    Message q = m;
    q.icon = MessageIcon::Question;
    return showMessage(parent_, q);
}

} // namespace oboro
