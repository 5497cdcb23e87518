#include "platform/testing/headless.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <deque>
#include <mutex>
#include <utility>
#include <variant>

#include "device/desktop.h"
#include "host/device.h"
#include "platform/host/utf.h"
#include "platform/user32/message_loop.h"

namespace platform::testing {

using detail::InputEvent;

struct HeadlessDevice::Impl : detail::Device {
    struct TapTextStep {
        std::u16string text;
        int occurrence;
    };
    struct AdvanceStep {
        std::int64_t ms;
    };
    struct ServeStep {
        int ms;
    };
    struct ResizeStep {
        int columns, rows;
    };
    using Step = std::variant<InputEvent, TapTextStep, AdvanceStep, ServeStep, ResizeStep,
                              std::function<void()>>;

    int columns;
    int rows;
    std::int64_t steady = 0;
    std::int64_t localStart;
    std::deque<Step> steps;
    CellGrid shown;
    int bells = 0;
    int flashes = 0;
    std::vector<std::string> launches;
    std::vector<std::string> errors;
    const HeadlessDevice* owner = nullptr;

    // Keys pressed while the program blocks: a pipe says one waits.
    std::mutex blockedMutex;
    std::deque<std::pair<WORD, bool>> blockedKeys;
    int blockedPipe[2] = {-1, -1};

    Impl(int c, int r, std::int64_t local) : columns(c), rows(r), localStart(local) {
        if (::pipe2(blockedPipe, O_NONBLOCK | O_CLOEXEC) != 0) blockedPipe[0] = blockedPipe[1] = -1;
    }
    ~Impl() override {
        for (int fd : blockedPipe) {
            if (fd >= 0) ::close(fd);
        }
    }
    int BlockedInputFd() const override { return blockedPipe[0]; }
    detail::BlockedKey TakeBlockedKey() override {
        char drained[64];
        while (::read(blockedPipe[0], drained, sizeof drained) > 0) {
        }
        std::lock_guard<std::mutex> lock(blockedMutex);
        while (!blockedKeys.empty()) {
            const auto [vk, ctrl] = blockedKeys.front();
            blockedKeys.pop_front();
            if (vk == VK_ESCAPE && !ctrl) return detail::BlockedKey::cancel;
            if (vk == 'Q' && ctrl) return detail::BlockedKey::cancelAndQuit;
        }
        return detail::BlockedKey::none;
    }

    int Columns() const override { return columns; }
    int Rows() const override { return rows; }
    std::int64_t NowMs() const override { return steady; }
    std::int64_t LocalTimeMs() const override { return localStart + steady; }
    void Present(const CellGrid& grid) override { shown = grid; }
    void Bell() override { ++bells; }
    void Flash() override { ++flashes; }
    void Launch(const std::vector<std::string>& argv, bool) override {
        std::string line;
        for (const auto& a : argv) line += (line.empty() ? "" : " ") + a;
        launches.push_back(line);
    }

    static InputEvent TapAt(int x, int y) {
        InputEvent e;
        e.kind = InputEvent::Kind::tap;
        e.x = x;
        e.y = y;
        return e;
    }

    InputEvent Wait(std::int64_t, int wakeFd) override {
        while (!steps.empty()) {
            Step step = std::move(steps.front());
            steps.pop_front();
            if (auto* e = std::get_if<InputEvent>(&step)) return *e;
            if (auto* check = std::get_if<std::function<void()>>(&step)) {
                // The program handles what the check did before the next step.
                (*check)();
                return {};
            }
            if (auto* a = std::get_if<AdvanceStep>(&step)) {
                steady += a->ms;
                return {};
            }
            if (auto* s = std::get_if<ServeStep>(&step)) {
                pollfd p{wakeFd, POLLIN, 0};
                if (wakeFd >= 0) ::poll(&p, 1, s->ms);
                return {};
            }
            if (auto* r = std::get_if<ResizeStep>(&step)) {
                columns = r->columns;
                rows = r->rows;
                InputEvent e;
                e.kind = InputEvent::Kind::resize;
                return e;
            }
            const auto& t = std::get<TapTextStep>(step);
            int column = 0, row = 0;
            if (owner->Find(t.text, column, row, t.occurrence)) {
                return TapAt(column * kCellWidth + kCellWidth / 2,
                             row * kCellHeight + kCellHeight / 2);
            }
            errors.push_back("no \"" + ToUtf8(t.text) + "\" on the screen to tap");
        }
        InputEvent quit;
        quit.kind = InputEvent::Kind::quit;
        return quit;
    }
};

HeadlessDevice::HeadlessDevice(int columns, int rows, std::int64_t localTime)
    : impl_(std::make_unique<Impl>(columns, rows, localTime)) {
    impl_->owner = this;
    detail::CloseDesktop();
    detail::SetCurrentDevice(impl_.get());
    detail::OpenDesktop();
}

HeadlessDevice::~HeadlessDevice() {
    detail::CloseDesktop();
    detail::SetCurrentDevice(nullptr);
}

HeadlessDevice& HeadlessDevice::Tap(int x, int y) {
    impl_->steps.emplace_back(Impl::TapAt(x, y));
    return *this;
}

HeadlessDevice& HeadlessDevice::TapCell(int column, int row) {
    return Tap(column * kCellWidth + kCellWidth / 2, row * kCellHeight + kCellHeight / 2);
}

HeadlessDevice& HeadlessDevice::TapText(const std::u16string& text, int occurrence) {
    impl_->steps.emplace_back(Impl::TapTextStep{text, occurrence});
    return *this;
}

HeadlessDevice& HeadlessDevice::Key(WORD vk, bool shift, bool ctrl, bool alt) {
    InputEvent e;
    e.kind = InputEvent::Kind::key;
    e.vk = vk;
    e.shift = shift;
    e.ctrl = ctrl;
    e.alt = alt;
    impl_->steps.emplace_back(e);
    return *this;
}

HeadlessDevice& HeadlessDevice::Type(const std::u16string& text) {
    // As the terminal sends them: a typed character is no key of its own.
    for (char16_t c : text) {
        InputEvent e;
        e.kind = InputEvent::Kind::key;
        e.ch = c;
        e.vk = c == u' ' ? VK_SPACE : VK_PACKET;
        impl_->steps.emplace_back(e);
    }
    return *this;
}

HeadlessDevice& HeadlessDevice::Wheel(int x, int y, int delta) {
    InputEvent e;
    e.kind = InputEvent::Kind::wheel;
    e.x = x;
    e.y = y;
    e.delta = delta;
    impl_->steps.emplace_back(e);
    return *this;
}

HeadlessDevice& HeadlessDevice::Advance(std::int64_t milliseconds) {
    impl_->steps.emplace_back(Impl::AdvanceStep{milliseconds});
    return *this;
}

HeadlessDevice& HeadlessDevice::Hibernate() {
    InputEvent e;
    e.kind = InputEvent::Kind::hibernate;
    impl_->steps.emplace_back(e);
    return *this;
}

HeadlessDevice& HeadlessDevice::Resize(int columns, int rows) {
    impl_->steps.emplace_back(Impl::ResizeStep{columns, rows});
    return *this;
}

HeadlessDevice& HeadlessDevice::Serve(int milliseconds) {
    impl_->steps.emplace_back(Impl::ServeStep{milliseconds});
    return *this;
}

HeadlessDevice& HeadlessDevice::Check(std::function<void()> check) {
    impl_->steps.emplace_back(std::move(check));
    return *this;
}

std::size_t HeadlessDevice::pending() const {
    return impl_->steps.size();
}

int HeadlessDevice::RunMessageLoop() {
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

const CellGrid& HeadlessDevice::screen() const {
    return impl_->shown;
}
std::u16string HeadlessDevice::Text() const {
    return impl_->shown.AllText();
}
std::u16string HeadlessDevice::Row(int row) const {
    return impl_->shown.RowText(row);
}

bool HeadlessDevice::Find(const std::u16string& text, int& column, int& row, int occurrence) const {
    for (int r = 0; r < impl_->shown.rows(); ++r) {
        const std::u16string line = impl_->shown.RowText(r);
        for (std::size_t at = line.find(text); at != std::u16string::npos;
             at = line.find(text, at + 1)) {
            if (occurrence-- == 0) {
                column = static_cast<int>(at);
                row = r;
                return true;
            }
        }
    }
    return false;
}

void HeadlessDevice::PressWhileBlocked(WORD vk, bool ctrl) {
    {
        std::lock_guard<std::mutex> lock(impl_->blockedMutex);
        impl_->blockedKeys.emplace_back(vk, ctrl);
    }
    const char one = 1;
    if (impl_->blockedPipe[1] >= 0) (void)!::write(impl_->blockedPipe[1], &one, 1);
}

std::int64_t HeadlessDevice::now() const {
    return impl_->steady;
}
int HeadlessDevice::bells() const {
    return impl_->bells;
}
int HeadlessDevice::flashes() const {
    return impl_->flashes;
}
const std::vector<std::string>& HeadlessDevice::launches() const {
    return impl_->launches;
}
const std::vector<std::string>& HeadlessDevice::errors() const {
    return impl_->errors;
}

}  // namespace platform::testing
