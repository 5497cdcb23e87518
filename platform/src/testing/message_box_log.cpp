#include "platform/testing/message_box_log.h"

namespace platform::testing {

MessageBoxLog::MessageBoxLog(int answer) : answer_(answer) {
    previous_ = SetMessageBoxHook({&MessageBoxLog::Present, this});
}

MessageBoxLog::~MessageBoxLog() {
    SetMessageBoxHook(previous_);
}

int MessageBoxLog::Present(void* context, HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    auto* log = static_cast<MessageBoxLog*>(context);
    log->records_.push_back({text ? text : u"", caption ? caption : u"", type, owner});
    return log->answer_;
}

}  // namespace platform::testing
