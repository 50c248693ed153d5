#include "hooks.h"

#include <algorithm>
#include <map>
#include <vector>

namespace platform {

struct HookEntry {
    int32_t type;
    HOOKPROC proc;
    bool removed = false;
};

namespace {

// Chains, newest hook first. Entries are shared so that a hook removed while its chain runs
// stays valid until the chain is done with it.
std::map<int32_t, std::vector<std::shared_ptr<HookEntry>>>& chains() {
    static std::map<int32_t, std::vector<std::shared_ptr<HookEntry>>> c;
    return c;
}

bool knownType(int32_t t) {
    return t == WH_MSGFILTER || t == WH_KEYBOARD || t == WH_GETMESSAGE || t == WH_CALLWNDPROC || t == WH_CBT ||
           t == WH_MOUSE || t == WH_CALLWNDPROCRET;
}

LRESULT callFrom(int32_t type, size_t start, int32_t nCode, WPARAM wParam, LPARAM lParam) {
    auto& chain = chains()[type];
    for (size_t i = start; i < chain.size(); ++i) {
        std::shared_ptr<HookEntry> e = chain[i];
        if (e->removed) continue;
        return e->proc(nCode, wParam, lParam);
    }
    return 0;
}

} // namespace

HHOOK SetWindowsHookEx(int32_t idHook, HOOKPROC proc) {
    if (!knownType(idHook) || !proc) return nullptr;
    auto e = std::make_shared<HookEntry>(HookEntry{idHook, std::move(proc)});
    auto& chain = chains()[idHook];
    chain.insert(chain.begin(), e);
    return e.get();
}

bool UnhookWindowsHookEx(HHOOK hook) {
    if (!hook) return false;
    auto it = chains().find(hook->type);
    if (it == chains().end()) return false;
    auto& chain = it->second;
    auto pos = std::find_if(chain.begin(), chain.end(), [&](const auto& e) { return e.get() == hook; });
    if (pos == chain.end()) return false;
    (*pos)->removed = true;
    chain.erase(pos);
    return true;
}

LRESULT CallNextHookEx(HHOOK hook, int32_t nCode, WPARAM wParam, LPARAM lParam) {
    if (!hook) return 0;
    auto& chain = chains()[hook->type];
    auto pos = std::find_if(chain.begin(), chain.end(), [&](const auto& e) { return e.get() == hook; });
    if (pos == chain.end()) return 0;
    return callFrom(hook->type, static_cast<size_t>(pos - chain.begin()) + 1, nCode, wParam, lParam);
}

bool hasHooks(int32_t idHook) {
    auto it = chains().find(idHook);
    return it != chains().end() && !it->second.empty();
}

LRESULT callHookChain(int32_t idHook, int32_t nCode, WPARAM wParam, LPARAM lParam) {
    if (!hasHooks(idHook)) return 0;
    return callFrom(idHook, 0, nCode, wParam, lParam);
}

} // namespace platform
