// Records every message box shown while it lives, answering each with a fixed button.
#pragma once

#include <string>
#include <vector>

#include "platform/user32/message_box.h"

namespace platform::testing {

struct MessageBoxRecord {
    std::u16string text;
    std::u16string caption;
    UINT type = 0;
    HWND owner = nullptr;
};

class MessageBoxLog {
public:
    explicit MessageBoxLog(int answer = IDOK);
    ~MessageBoxLog();
    MessageBoxLog(const MessageBoxLog&) = delete;
    MessageBoxLog& operator=(const MessageBoxLog&) = delete;

    const std::vector<MessageBoxRecord>& records() const { return records_; }
    void set_answer(int answer) { answer_ = answer; }
    void clear() { records_.clear(); }

private:
    static int Present(void* context, HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

    std::vector<MessageBoxRecord> records_;
    int answer_;
    MessageBoxHook previous_;
};

}  // namespace platform::testing
