#include "emitter.h"

#include <cstring>

#include "label.h"

namespace tagloom {

Emitter::Emitter(IParseEngine* engine, uint64_t budget) : engine_(engine), budget_(budget) {}

ItemHandle Emitter::emit(ItemHandle parent, uint32_t start, uint32_t end, uint32_t deferred, uint32_t tagCode) {
    if (stopped_ || !engine_) return nullptr;
    if (added_ + 1 >= budget_) {
        spendBudget(parent, start, end);
        return nullptr;
    }
    desc_.start = start;
    desc_.end = end;
    desc_.reserved = 0;
    desc_.parent = parent;
    desc_.deferred = deferred;
    desc_.tagCode = tagCode;
    ItemHandle handle = nullptr;
    if (engine_->AddItem(&desc_, &handle) != S_OK || !handle) {
        stopped_ = true;
        return nullptr;
    }
    ++added_;
    return handle;
}

// The last item of the budget says why the decode ends here.
void Emitter::spendBudget(ItemHandle parent, uint32_t start, uint32_t end) {
    stopped_ = true;
    if (!parent || added_ >= budget_) return;
    std::strcpy(desc_.name, "Too many items: decoding stops here");
    desc_.start = start;
    desc_.end = end;
    desc_.reserved = 0;
    desc_.parent = parent;
    desc_.deferred = 0;
    desc_.tagCode = 0;
    if (engine_->AddItem(&desc_, nullptr) == S_OK) ++added_;
}

ItemHandle Emitter::add(ItemHandle parent, uint32_t start, uint32_t end, const char* format, ...) {
    if (!parent || stopped_) return nullptr;
    va_list args;
    va_start(args, format);
    formatLabelV(desc_.name, sizeof desc_.name, format, args);
    va_end(args);
    return emit(parent, start, end, 0, 0);
}

ItemHandle Emitter::addTopLevel(uint32_t start, uint32_t end, const char* label) {
    if (stopped_) return nullptr;
    formatLabel(desc_.name, sizeof desc_.name, "%s", label);
    return emit(nullptr, start, end, 0, 0);
}

ItemHandle Emitter::addDeferred(ItemHandle parent, uint32_t start, uint32_t end, const char* label,
                                uint32_t tagCode) {
    if (!parent || stopped_) return nullptr;
    formatLabel(desc_.name, sizeof desc_.name, "%s", label);
    return emit(parent, start, end, 1, tagCode);
}

void Emitter::setEnd(ItemHandle item, uint32_t end) {
    if (item) item->end = end;
}

} // namespace tagloom
