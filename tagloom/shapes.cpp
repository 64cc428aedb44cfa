// DefineShape, DefineShape2 and DefineShape3: the shape id, the bounds, the fill and
// line style arrays and the bit-packed shape records up to the end record. The three
// tags share one decoder; their shape version decides only the width of every colour
// (RGBA in version 3, RGB otherwise), new styles inside the records included.
#include "records.h"
#include "tag_table.h"

namespace tagloom {
namespace {

// Decodes a fill style after its type byte; returns the offset just past the style.
using FillKindDecoder = uint32_t (*)(Decoder& decoder, ItemHandle fillStyle, uint32_t offset, int version);

uint32_t readGradient(Decoder& decoder, ItemHandle fillStyle, uint32_t offset, int version);
uint32_t readBitmapFill(Decoder& decoder, ItemHandle fillStyle, uint32_t offset, int version);

struct FillStyleTypeEntry {
    uint8_t typeCode;
    const char* name;
    FillKindDecoder decoder;
};

const FillStyleTypeEntry kFillStyleTypes[] = {
    {0x00, "solid fill", readColor},
    {0x10, "linear gradient fill", readGradient},
    {0x12, "radial gradient fill", readGradient},
    {0x40, "tiled bitmap fill", readBitmapFill},
    {0x41, "clipped bitmap fill", readBitmapFill},
};

// The five bits after a record's type bit. In an edge the top one tells straight from
// curved and the low four are NumBits; in a style change each names an optional field.
constexpr uint32_t kStraightEdge = 0x10;
constexpr uint32_t kNumBits = 0x0F;
constexpr uint32_t kNewStyles = 0x10;
constexpr uint32_t kLineStyle = 0x08;
constexpr uint32_t kFillStyle1 = 0x04;
constexpr uint32_t kFillStyle0 = 0x02;
constexpr uint32_t kMoveTo = 0x01;

struct StyleChangeFlag {
    uint32_t mask;
    const char* label;
};

const StyleChangeFlag kStyleChangeFlags[] = {
    {kNewStyles, "StateNewStyles(%d)"},   {kLineStyle, "StateLineStyle(%d)"}, {kFillStyle1, "StateFillStyle1(%d)"},
    {kFillStyle0, "StateFillStyle0(%d)"}, {kMoveTo, "StateMoveTo(%d)"},
};

const char* const kCurveDeltas[] = {"ControlDeltaX(%d)", "ControlDeltaY(%d)", "AnchorDeltaX(%d)", "AnchorDeltaY(%d)"};

uint32_t colorWidth(int version) { return version == 3 ? 4 : 3; }

// The records of one shape: the cursor they share and the widths of the style indexes.
// The cursor runs on from record to record without aligning; only new styles move it
// to a whole byte and start it afresh.
struct ShapeRecords {
    Decoder& decoder;
    int version;
    BitReader bits;
    uint32_t fillIndexBits = 0;
    uint32_t lineIndexBits = 0;
};

uint32_t readUnsignedField(ShapeRecords& shape, ItemHandle parent, uint32_t count, const char* label) {
    return readUnsignedField(shape.decoder, shape.bits, parent, static_cast<int>(count), label);
}

int32_t readSignedField(ShapeRecords& shape, ItemHandle parent, uint32_t count, const char* label) {
    return readSignedField(shape.decoder, shape.bits, parent, static_cast<int>(count), label);
}

// ---- Style arrays (whole bytes) ----

struct StyleCount {
    uint32_t count;
    uint32_t next; // the first byte after the count field
};

// One count byte; the byte 0xFF announces a 16-bit count, and the three bytes together
// are then the count field.
StyleCount readStyleCount(Decoder& decoder, ItemHandle array, uint32_t offset, const char* label) {
    uint32_t count = decoder.bytes.u8(offset);
    uint32_t last = offset;
    if (count == 0xFF) {
        count = decoder.bytes.u16(offset + 1);
        last = offset + 2;
    }
    decoder.out.add(array, offset, last, label);
    return {count, last + 1};
}

const FillStyleTypeEntry* lookupFillStyleType(uint8_t typeCode) {
    for (const FillStyleTypeEntry& row : kFillStyleTypes)
        if (row.typeCode == typeCode) return &row;
    return nullptr;
}

// A type byte without a row ends the fill style on that byte without moving on: the
// rest of the array, and then the line style array, are read from the same byte.
uint32_t readFillStyle(Decoder& decoder, ItemHandle fillStyles, uint32_t offset, int version) {
    Group fillStyle(decoder.out, fillStyles, offset, "FillStyle");
    const FillStyleTypeEntry* type = lookupFillStyleType(decoder.bytes.u8(offset));
    if (!type) return offset;
    decoder.out.add(fillStyle.handle(), offset, offset, "FillStyleType (%s)", type->name);
    uint32_t next = type->decoder(decoder, fillStyle.handle(), offset + 1, version);
    fillStyle.close(next - 1);
    return next;
}

uint32_t readGradient(Decoder& decoder, ItemHandle fillStyle, uint32_t offset, int version) {
    uint32_t at = readMatrix(decoder, fillStyle, offset);
    uint32_t gradients = decoder.bytes.u8(at);
    decoder.out.add(fillStyle, at, at, "NumGradients");
    ++at;
    for (uint32_t k = 0; k < gradients && decoder.bytes.inside(at) && !decoder.out.stopped(); ++k) {
        Group record(decoder.out, fillStyle, at, "GradRecord");
        decoder.out.add(record.handle(), at, at, "Ratio");
        at = readColor(decoder, record.handle(), at + 1, version);
        record.close(at - 1);
    }
    return at;
}

uint32_t readBitmapFill(Decoder& decoder, ItemHandle fillStyle, uint32_t offset, int) {
    decoder.out.add(fillStyle, offset, offset + 1, "BitmapID");
    return readMatrix(decoder, fillStyle, offset + 2);
}

uint32_t readFillStyleArray(Decoder& decoder, ItemHandle parent, uint32_t offset, int version) {
    Group fillStyles(decoder.out, parent, offset, "FillStyles");
    StyleCount styles = readStyleCount(decoder, fillStyles.handle(), offset, "FillStyleCount");
    uint32_t at = styles.next;
    for (uint32_t k = 0; k < styles.count && decoder.bytes.inside(at) && !decoder.out.stopped(); ++k)
        at = readFillStyle(decoder, fillStyles.handle(), at, version);
    fillStyles.close(at - 1);
    return at;
}

uint32_t readLineStyleArray(Decoder& decoder, ItemHandle parent, uint32_t offset, int version) {
    Group lineStyles(decoder.out, parent, offset, "LineStyles");
    StyleCount styles = readStyleCount(decoder, lineStyles.handle(), offset, "LineStyleCount");
    uint32_t width = colorWidth(version);
    const char* colorLabel = width == 4 ? "LineColor(RGBA)" : "LineColor(RGB)";
    uint32_t at = styles.next;
    for (uint32_t k = 0; k < styles.count && decoder.bytes.inside(at) && !decoder.out.stopped(); ++k) {
        ItemHandle lineStyle = decoder.out.add(lineStyles.handle(), at, at + 1 + width, "LineStyle%d", k);
        decoder.out.add(lineStyle, at, at + 1, "Width of line");
        decoder.out.add(lineStyle, at + 2, at + 1 + width, "%s", colorLabel);
        at += 2 + width;
    }
    lineStyles.close(at - 1);
    return at;
}

// The two style arrays, then the widths of the style indexes on a fresh cursor at the
// next whole byte: at the head of a shape and as the new styles of a style change.
void readStyles(ShapeRecords& shape, ItemHandle parent, uint32_t offset) {
    offset = readFillStyleArray(shape.decoder, parent, offset, shape.version);
    offset = readLineStyleArray(shape.decoder, parent, offset, shape.version);
    shape.bits = BitReader(shape.decoder.bytes, offset);
    shape.fillIndexBits = readUnsignedField(shape, parent, 4, "Number of fill index bits (%d)");
    shape.lineIndexBits = readUnsignedField(shape, parent, 4, "Number of line index bits (%d)");
}

// ---- Shape records (one bit stream) ----
// The record loop has read the six header bits before a record decoder runs, so each
// record's item starts at the byte that holds the last of them.

void readStyleChange(ShapeRecords& shape, ItemHandle parent, uint32_t flags) {
    uint32_t at = shape.bits.index();
    Group record(shape.decoder.out, parent, at, "StyleChangeRecord");
    ItemHandle fields = record.handle();
    for (const StyleChangeFlag& flag : kStyleChangeFlags)
        shape.decoder.out.add(fields, at, at, flag.label, (flags & flag.mask) ? 1 : 0);
    if (flags & kMoveTo) {
        uint32_t moveBits = readUnsignedField(shape, fields, 5, "MoveBitCount(%d)");
        readSignedField(shape, fields, moveBits, "MoveDeltaX(%d)");
        readSignedField(shape, fields, moveBits, "MoveDeltaY(%d)");
    }
    // The index widths in force when the record starts; new styles change them for the
    // records that follow.
    if (flags & kFillStyle0) readUnsignedField(shape, fields, shape.fillIndexBits, "FillStyle0(%d)");
    if (flags & kFillStyle1) readUnsignedField(shape, fields, shape.fillIndexBits, "FillStyle1(%d)");
    if (flags & kLineStyle) readUnsignedField(shape, fields, shape.lineIndexBits, "LineStyle(%d)");
    if (flags & kNewStyles) {
        shape.bits.align();
        readStyles(shape, fields, shape.bits.index());
    }
    record.close(shape.bits.index());
}

// The items every edge record starts with, both on the byte of the header's last bit.
void addEdgeHeader(ShapeRecords& shape, ItemHandle record, uint32_t flags) {
    uint32_t at = shape.bits.index();
    shape.decoder.out.add(record, at, at, "StraightFlag(%d)", (flags & kStraightEdge) ? 1 : 0);
    shape.decoder.out.add(record, at, at, "NumBits(%d)", flags & kNumBits);
}

// Coordinates are signed and two bits wider than NumBits says.
uint32_t coordinateBits(uint32_t flags) { return (flags & kNumBits) + 2; }

void readStraightEdge(ShapeRecords& shape, ItemHandle parent, uint32_t flags) {
    Group record(shape.decoder.out, parent, shape.bits.index(), "StraightEdgeRecord");
    ItemHandle fields = record.handle();
    addEdgeHeader(shape, fields, flags);
    uint32_t bits = coordinateBits(flags);
    if (readUnsignedField(shape, fields, 1, "GeneralLineFlag(%d)")) {
        readSignedField(shape, fields, bits, "DeltaX(%d)");
        readSignedField(shape, fields, bits, "DeltaY(%d)");
    } else {
        // A vertical or horizontal line carries its one delta only.
        bool vertical = readUnsignedField(shape, fields, 1, "VertLineFlag(%d)") != 0;
        readSignedField(shape, fields, bits, vertical ? "DeltaY(%d)" : "DeltaX(%d)");
    }
    record.close(shape.bits.index());
}

void readCurvedEdge(ShapeRecords& shape, ItemHandle parent, uint32_t flags) {
    Group record(shape.decoder.out, parent, shape.bits.index(), "CurvedEdgeRecord");
    addEdgeHeader(shape, record.handle(), flags);
    for (const char* label : kCurveDeltas) readSignedField(shape, record.handle(), coordinateBits(flags), label);
    record.close(shape.bits.index());
}

// The styles, then records until the end record. Nothing but the end record ends the
// loop, the tag's length included; past the end of the buffer the cursor reads zeros,
// which make an end record, and every record adds items, so the item budget bounds the
// loop as well.
uint32_t decodeShape(Decoder& decoder, ItemHandle parent, uint32_t offset, int version) {
    ShapeRecords shape{decoder, version, BitReader(decoder.bytes, offset)};
    readStyles(shape, parent, offset);
    while (!decoder.out.stopped()) {
        uint32_t isEdge = shape.bits.readUnsigned(1);
        uint32_t flags = shape.bits.readUnsigned(5);
        if (isEdge)
            (flags & kStraightEdge ? readStraightEdge : readCurvedEdge)(shape, parent, flags);
        else if (flags)
            readStyleChange(shape, parent, flags);
        else
            break;
    }
    uint32_t end = shape.bits.index();
    decoder.out.add(parent, end, end, "EndShapeRecord");
    return end;
}

uint32_t decodeShapeTag(Decoder& decoder, ItemHandle parent, uint32_t start, int version) {
    decoder.out.add(parent, start, start + 1, "ShapeID");
    uint32_t styles = readRectangle(decoder, parent, start + 2);
    return decodeShape(decoder, parent, styles, version);
}

} // namespace

// The tag's length is not consulted: the data alone says where the shape ends.
uint32_t decodeDefineShape(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t) {
    return decodeShapeTag(decoder, parent, start, 1);
}

uint32_t decodeDefineShape2(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t) {
    return decodeShapeTag(decoder, parent, start, 2);
}

uint32_t decodeDefineShape3(Decoder& decoder, ItemHandle parent, uint32_t start, uint32_t) {
    return decodeShapeTag(decoder, parent, start, 3);
}

} // namespace tagloom
