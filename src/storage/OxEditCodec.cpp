#include "OxEditCodec_p.h"

#include "OxChannelModel_p.h"
#include "OxPackedBytes_p.h"

#include <string>
#include <unordered_map>

namespace quillmark::detail {
namespace {
enum Section { kChanges, kEraserX, kEraserY, kExceptions, kStrokes, kSections };
enum ChangeKind : std::uint8_t { kEraseChange = 0, kMoveChange = 1 };
constexpr const char *kEraserNames[2] = {"eraser x", "eraser y"};

// The fewest bytes a change takes (kind, a position count, a radius), and a stroke (its drawing
// and edit count).
constexpr std::size_t kMinChangeBytes = 6;
constexpr std::size_t kMinStrokeBytes = 2;

// What makes two edits one change: the kind, an erase's radius and the positions, to the bit.
std::string changeKey(const OxRecordedEdit &edit)
{
    std::string key(1, char(edit.kind));
    if (edit.kind == OxRecordedEdit::kErase)
        key.append(reinterpret_cast<const char *>(&edit.radius), sizeof edit.radius);
    key.append(reinterpret_cast<const char *>(edit.xy.data()), edit.xy.size() * sizeof(float));
    return key;
}

void writeChange(const OxRecordedEdit &edit, ByteWriter &changes, std::vector<float> &eraserXY)
{
    if (edit.kind == OxRecordedEdit::kMove) {
        changes.u8(kMoveChange);
        changes.u32(wordOf(edit.xy[0]));
        changes.u32(wordOf(edit.xy[1]));
        return;
    }
    changes.u8(kEraseChange);
    changes.varint(edit.xy.size() / 2);
    changes.u32(wordOf(edit.radius));
    eraserXY.insert(eraserXY.end(), edit.xy.begin(), edit.xy.end());
}

// One channel of interleaved x y positions.
Column eraserColumn(std::vector<float> &xy, int channel)
{
    if (xy.empty())
        return Column{};
    return Column{reinterpret_cast<std::uint8_t *>(xy.data()) + channel * sizeof(float),
                  2 * sizeof(float), xy.size() / 2};
}

class EditsReader
{
public:
    explicit EditsReader(const Chunk &chunk) : chunk(chunk) {}

    OxStorageError read(std::size_t drawings, std::vector<StoredStroke> &strokes);

private:
    // A change as read: its kind and numbers, and for an erase where its positions start in
    // eraserXY and how many it has.
    struct Change
    {
        OxRecordedEdit::Kind kind = OxRecordedEdit::kErase;
        float radius = 0;
        float dx = 0, dy = 0;
        std::size_t first = 0, count = 0;
    };

    OxStorageError error(OxStorageError::Kind kind, const QString &what) const
    {
        return storageError(kind, qint64(chunk.offset), QStringLiteral("%1: %2").arg(chunk.name(), what));
    }
    OxStorageError fault(const QString &what) const { return error(OxStorageError::kMalformed, what); }
    OxStorageError tooLarge(const QString &what) const { return error(OxStorageError::kTooLarge, what); }
    OxStorageError readChanges();
    OxStorageError readEdits(std::size_t stroke, StoredStroke &out);

    const Chunk &chunk;
    Bytes body;
    std::vector<ByteReader> sections;
    std::vector<Change> changes;
    std::vector<float> eraserXY;
    // Eraser positions the edits may still repeat, as floats.
    std::uint64_t budget = 0;
};

OxStorageError EditsReader::readChanges()
{
    ByteReader &in = sections[kChanges];
    const std::uint64_t count = in.varint();
    if (!in.ok() || count > in.remaining() / kMinChangeBytes)
        return tooLarge(QStringLiteral("%1 changes declared, more than the changes section holds").arg(count));
    changes.resize(std::size_t(count));
    std::uint64_t positions = 0;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        Change &change = changes[i];
        const std::uint8_t kind = in.u8();
        if (kind == kMoveChange) {
            change.kind = OxRecordedEdit::kMove;
            change.dx = floatOf(in.u32());
            change.dy = floatOf(in.u32());
        } else if (kind == kEraseChange) {
            const std::uint64_t count = in.varint();
            change.radius = floatOf(in.u32());
            // Every position takes at least a byte of each eraser stream.
            if (count == 0 || count > sections[kEraserX].remaining() - positions
                || count > sections[kEraserY].remaining() - positions)
                return tooLarge(QStringLiteral("change %1: %2 positions, not between 1 and what the eraser streams hold")
                                    .arg(i).arg(count));
            change.first = std::size_t(positions);
            change.count = std::size_t(count);
            positions += count;
        } else if (in.ok()) {
            return fault(QStringLiteral("change %1: unknown kind %2").arg(i).arg(kind));
        }
        if (!in.ok())
            return fault(QStringLiteral("the changes section ends early"));
    }
    eraserXY.resize(2 * std::size_t(positions));
    for (int c = 0; c < 2; ++c) {
        const ChannelModel model = readModel(in);
        if (!in.ok() || !validModel(model, ChannelType::kFloat) || model.exceptions > positions)
            return fault(QStringLiteral("%1: the model is cut short or unknown").arg(QLatin1String(kEraserNames[c])));
        if (const char *what = readChannel(sections[kEraserX + c], sections[kExceptions], model,
                                           ChannelType::kFloat, eraserColumn(eraserXY, c)))
            return fault(QStringLiteral("%1: %2").arg(QLatin1String(kEraserNames[c]), QLatin1String(what)));
    }
    return OxStorageError();
}

OxStorageError EditsReader::readEdits(std::size_t stroke, StoredStroke &out)
{
    ByteReader &in = sections[kStrokes];
    const std::uint64_t count = in.varint();
    if (!in.ok() || count > in.remaining())
        return tooLarge(QStringLiteral("stroke %1: %2 edits declared, more than the strokes section holds")
                            .arg(stroke).arg(count));
    out.edits.resize(std::size_t(count));
    for (OxRecordedEdit &edit : out.edits) {
        const std::uint64_t index = in.varint();
        if (!in.ok() || index >= changes.size())
            return fault(QStringLiteral("stroke %1: an edit names change %2 of %3").arg(stroke).arg(index).arg(changes.size()));
        const Change &change = changes[std::size_t(index)];
        edit.kind = change.kind;
        if (change.kind == OxRecordedEdit::kMove) {
            edit.xy = {change.dx, change.dy};
            continue;
        }
        const std::uint64_t piece = in.varint();
        if (!in.ok() || piece > 0xffffffffu)
            return fault(QStringLiteral("stroke %1: an erase without a piece number").arg(stroke));
        if (2 * change.count > budget)
            return tooLarge(QStringLiteral("the edits repeat more eraser positions than a reader accepts for the chunk's size"));
        budget -= 2 * change.count;
        edit.piece = quint32(piece);
        edit.radius = change.radius;
        edit.xy.assign(eraserXY.begin() + std::ptrdiff_t(2 * change.first),
                       eraserXY.begin() + std::ptrdiff_t(2 * (change.first + change.count)));
    }
    return OxStorageError();
}

OxStorageError EditsReader::read(std::size_t drawings, std::vector<StoredStroke> &strokes)
{
    ByteReader packed(chunk.payload, chunk.size);
    const QString wrong = unpackSections(packed, kSections, body, sections);
    if (!wrong.isEmpty())
        return fault(wrong);
    OxStorageError error = readChanges();
    if (!error.ok())
        return error;
    budget = kMaxExpansion * chunk.size + kExpansionSlack;
    ByteReader &in = sections[kStrokes];
    const std::uint64_t count = in.varint();
    if (!in.ok() || count > in.remaining() / kMinStrokeBytes)
        return tooLarge(QStringLiteral("%1 strokes declared, more than the strokes section holds").arg(count));
    strokes.resize(std::size_t(count));
    std::size_t used = 0;
    for (std::size_t i = 0; i < strokes.size(); ++i) {
        const std::uint8_t next = in.u8();
        if (next > 1 || (next == 0 && i == 0))
            return fault(QStringLiteral("stroke %1: drawing %2 is neither the next one (1) nor the one before (0)")
                             .arg(i).arg(next));
        used += next;
        if (used > drawings)
            return fault(QStringLiteral("stroke %1: drawing %2, but the strokes chunk has %3").arg(i).arg(used).arg(drawings));
        strokes[i].drawing = used - 1;
        error = readEdits(i, strokes[i]);
        if (!error.ok())
            return error;
    }
    if (const QString left = leftoverSection(sections); !left.isEmpty())
        return fault(left);
    if (used != drawings)
        return fault(QStringLiteral("the strokes use %1 drawings of the strokes chunk's %2").arg(used).arg(drawings));
    return OxStorageError();
}
} // namespace

QString editFault(const OxRecordedEdit &edit)
{
    if (edit.kind == OxRecordedEdit::kMove)
        return edit.xy.size() == 2 ? QString() : QStringLiteral("a move of %1 numbers, not 2").arg(edit.xy.size());
    if (edit.kind != OxRecordedEdit::kErase)
        return QStringLiteral("an edit of the unknown kind %1").arg(int(edit.kind));
    if (edit.xy.empty() || edit.xy.size() % 2 != 0)
        return QStringLiteral("an erase of %1 numbers, not positions").arg(edit.xy.size());
    return QString();
}

bool encodeEdits(const std::vector<StoredStroke> &strokes, Bytes &payload)
{
    std::vector<Bytes> sections(kSections);
    Bytes changeBytes;
    ByteWriter changeWriter(changeBytes), strokeWriter(sections[kStrokes]);
    std::unordered_map<std::string, std::uint64_t> changeIndex;
    std::vector<float> eraserXY;
    strokeWriter.varint(strokes.size());
    for (std::size_t i = 0; i < strokes.size(); ++i) {
        const StoredStroke &stroke = strokes[i];
        strokeWriter.u8(i == 0 || stroke.drawing != strokes[i - 1].drawing ? 1 : 0);
        strokeWriter.varint(stroke.edits.size());
        for (const OxRecordedEdit &edit : stroke.edits) {
            const auto found = changeIndex.emplace(changeKey(edit), changeIndex.size());
            if (found.second)
                writeChange(edit, changeWriter, eraserXY);
            strokeWriter.varint(found.first->second);
            if (edit.kind == OxRecordedEdit::kErase)
                strokeWriter.varint(edit.piece);
        }
    }
    ByteWriter changes(sections[kChanges]);
    changes.varint(changeIndex.size());
    changes.bytes(changeBytes.data(), changeBytes.size());
    ByteWriter exceptions(sections[kExceptions]);
    for (int c = 0; c < 2; ++c) {
        ChannelEncoder encoder(ChannelType::kFloat);
        encoder.surveyPage({eraserColumn(eraserXY, c)});
        ByteWriter residuals(sections[kEraserX + c]);
        writeModel(changes, encoder.encode(0, residuals, exceptions));
    }
    return packSections(sections, payload);
}

OxStorageError decodeEdits(const Chunk &chunk, std::size_t drawings, std::vector<StoredStroke> &strokes)
{
    return EditsReader(chunk).read(drawings, strokes);
}

} // namespace quillmark::detail
