#pragma once
// A dialog answerer for tests: keeps every request and answers from a queue (Empty when the
// queue is empty). Installed for the life of the object.
#include <deque>
#include <vector>

#include "qmx/reference/HostDialogs.h"

namespace qmx::test {

class RecordingAnswerer : public reference::HostDialogAnswerer {
public:
    Variant AnswerDialog(const reference::HostDialogRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) return {};
        Variant answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<reference::HostDialogRequest> requests;
    std::deque<Variant> answers;
};

// Installs a RecordingAnswerer and takes it out again at the end.
class ScopedAnswerer {
public:
    ScopedAnswerer() : answerer_(std::make_shared<RecordingAnswerer>()) {
        previous_ = reference::SetHostDialogAnswerer(answerer_);
    }
    ~ScopedAnswerer() { reference::SetHostDialogAnswerer(previous_); }
    ScopedAnswerer(const ScopedAnswerer&) = delete;
    ScopedAnswerer& operator=(const ScopedAnswerer&) = delete;

    RecordingAnswerer* operator->() const { return answerer_.get(); }

private:
    std::shared_ptr<RecordingAnswerer> answerer_;
    std::shared_ptr<reference::HostDialogAnswerer> previous_;
};

} // namespace qmx::test
