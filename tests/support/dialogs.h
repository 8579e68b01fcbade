#pragma once
// A message sink for window tests: keeps what would be shown and answers every
// question with `answer`.
#include "app/gui/messagebox.h"

#include <vector>

namespace oboro::test {

class QuietDialogs : public MessageBoxSink {
public:
    using MessageBoxSink::show;
    void show(const Message& m) override { shown.push_back(m); }
    bool ask(const Message& m) override
    {
        asked.push_back(m);
        return answer;
    }
    std::vector<Message> shown;
    std::vector<Message> asked;
    bool answer = true;
};

} // namespace oboro::test
