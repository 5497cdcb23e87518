// The objects behind one kind of handle (windows, files, registry keys, icons, image lists,
// menus, modules). A handle is a number from the kind's own range, never reused while the
// process runs, so a stale or forged handle, or one of another kind, finds nothing. As on
// Windows, handles are multiples of four: the low bits are free for flags (SetForegroundWindow
// takes a window handle with its lowest bit set).
#pragma once

#include <cstdint>
#include <map>
#include <memory>

namespace platform::detail {

class HandleTableBase {
public:
    HandleTableBase(const HandleTableBase&) = delete;
    HandleTableBase& operator=(const HandleTableBase&) = delete;
    virtual void Clear() = 0;

protected:
    HandleTableBase();
    ~HandleTableBase();
};

// Forgets every object of every kind: the one reset point between tests (the window system
// destroys its windows first, so that each gets its WM_DESTROY).
void ResetHandleTables();

template <typename T>
class HandleTable : public HandleTableBase {
public:
    explicit HandleTable(std::uintptr_t first) : next_(first & ~kFlagBits) {}

    template <typename Handle = void*>
    Handle Add(std::unique_ptr<T> object) {
        const std::uintptr_t id = next_;
        next_ += kFlagBits + 1;
        items_[id] = std::move(object);
        return reinterpret_cast<Handle>(id);
    }

    T* Find(const void* handle) const {
        const auto id = reinterpret_cast<std::uintptr_t>(handle);
        // Calls come in runs on one handle (a list's rows are filled a cell at a time).
        if (id == lastId_ && last_) return last_;
        const auto it = items_.find(id);
        if (it == items_.end()) return nullptr;
        lastId_ = id;
        last_ = it->second.get();
        return last_;
    }

    bool Remove(const void* handle) {
        Forget();
        return items_.erase(reinterpret_cast<std::uintptr_t>(handle)) != 0;
    }

    // The first handle whose object satisfies `test`, or null.
    template <typename Handle = void*, typename Test>
    Handle FindIf(Test test) const {
        for (const auto& [id, object] : items_) {
            if (test(*object)) return reinterpret_cast<Handle>(id);
        }
        return nullptr;
    }

    std::size_t size() const { return items_.size(); }
    void Clear() override {
        Forget();
        items_.clear();
    }

private:
    void Forget() {
        lastId_ = 0;
        last_ = nullptr;
    }

    static constexpr std::uintptr_t kFlagBits = 3;
    std::map<std::uintptr_t, std::unique_ptr<T>> items_;
    std::uintptr_t next_;
    mutable std::uintptr_t lastId_ = 0;
    mutable T* last_ = nullptr;
};

}  // namespace platform::detail
