// The one way items reach the engine. The emitter fills the descriptor, formats the
// label, hands back handles, writes group ends and counts a budget of items. After a
// failed AddItem, or once the budget is spent, it adds nothing more: no child goes
// under a missing handle, no end is written through one, and decoders see stopped()
// and unwind.
#pragma once

#include <cstdint>

#include "parse_engine.h"

namespace tagloom {

class Emitter {
public:
    // `budget` is the number of items this emitter may add, the note that says the
    // budget is spent included.
    Emitter(IParseEngine* engine, uint64_t budget);

    // Adds a child of `parent` with a printf-style label. Returns its handle, or null
    // when the parent is missing, the emitter has stopped or AddItem failed.
    ItemHandle add(ItemHandle parent, uint32_t start, uint32_t end, const char* format, ...);
    // Adds the top-level item (no parent).
    ItemHandle addTopLevel(uint32_t start, uint32_t end, const char* label);
    // Adds a top-level tag's deferred data item that carries its tag code.
    ItemHandle addDeferred(ItemHandle parent, uint32_t start, uint32_t end, const char* label, uint32_t tagCode);
    // Writes a group's final end through its handle; nothing when the handle is missing.
    void setEnd(ItemHandle item, uint32_t end);

    // True once the decode must unwind: AddItem failed or the budget is spent.
    bool stopped() const { return stopped_; }
    uint64_t added() const { return added_; }

private:
    ItemHandle emit(ItemHandle parent, uint32_t start, uint32_t end, uint32_t deferred, uint32_t tagCode);
    void spendBudget(ItemHandle parent, uint32_t start, uint32_t end);

    IParseEngine* engine_;
    uint64_t budget_;
    uint64_t added_ = 0;
    bool stopped_ = false;
    ParseItemDesc desc_{};
};

// A group item whose end is known only after its children: added with a provisional
// end (its start), closed once they are decoded.
class Group {
public:
    Group(Emitter& out, ItemHandle parent, uint32_t start, const char* label)
        : out_(out), handle_(out.add(parent, start, start, "%s", label)) {}
    ItemHandle handle() const { return handle_; }
    void close(uint32_t end) { out_.setEnd(handle_, end); }

private:
    Emitter& out_;
    ItemHandle handle_;
};

} // namespace tagloom
