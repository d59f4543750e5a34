#include "OxRecordCodec_p.h"

#include "OxChannelModel_p.h"
#include "OxEngineKind.h"
#include "OxPackedBytes_p.h"

#include <cstddef>

namespace quillmark::detail {
namespace {
constexpr int kChannels = 4;
constexpr int kSections = kChannels + 3;
enum Section { kMeta, kSteps, kFirstChannel, kExceptions = kFirstChannel + kChannels };

constexpr const char *kChannelNames[kChannels] = {"x", "y", "time", "pressure"};
constexpr ChannelType kChannelTypes[kChannels] = {ChannelType::kFloat, ChannelType::kFloat,
                                                  ChannelType::kInteger, ChannelType::kFloat};
constexpr std::size_t kChannelOffsets[kChannels] = {
    offsetof(OxRecordedSample, x), offsetof(OxRecordedSample, y), offsetof(OxRecordedSample, time),
    offsetof(OxRecordedSample, pressure)};

// The fewest bytes a stroke's meta can take: engine, width, colour, two counts, four models.
constexpr std::size_t kMinStrokeMetaBytes = 1 + 4 + 4 + 1 + 1 + kChannels * 4;
constexpr std::uint8_t kOneSample = 0x80;
constexpr std::uint8_t kCallBits = 0x07;

Column column(const std::vector<OxRecordedSample> &samples, int channel)
{
    if (samples.empty())
        return Column{};
    // The encoder reads through the column only.
    auto *base = reinterpret_cast<std::uint8_t *>(const_cast<OxRecordedSample *>(samples.data()));
    return Column{base + kChannelOffsets[channel], sizeof(OxRecordedSample), samples.size()};
}

void writeSteps(ByteWriter &steps, const std::vector<OxRecordedStep> &recorded)
{
    for (const OxRecordedStep &step : recorded) {
        if (step.samples == 1) {
            steps.u8(std::uint8_t(step.call | kOneSample));
        } else {
            steps.u8(std::uint8_t(step.call));
            steps.varint(step.samples);
        }
    }
}

// Reads a stroke's steps; nullptr, or what is wrong.
const char *readSteps(ByteReader &in, OxStrokeRecord &record, std::size_t count)
{
    std::uint64_t total = 0;
    record.steps.resize(count);
    for (OxRecordedStep &step : record.steps) {
        const std::uint8_t byte = in.u8();
        if (byte & ~(kCallBits | kOneSample))
            return "a step has unknown bits set";
        step.call = OxRecordedStep::Call(byte & kCallBits);
        const std::uint64_t samples = (byte & kOneSample) ? 1 : in.varint();
        if (!in.ok())
            return "the steps end early";
        if (samples > record.samples.size() - total)
            return "the steps take more samples than the stroke has";
        step.samples = quint32(samples);
        total += samples;
    }
    return total == record.samples.size() ? nullptr : "the steps take fewer samples than the stroke has";
}

class StrokesReader
{
public:
    explicit StrokesReader(const Chunk &chunk) : chunk(chunk) {}

    OxStorageError read(std::vector<OxStrokeRecord> &records);

private:
    OxStorageError fault(const QString &what) const
    {
        return storageError(OxStorageError::kMalformed, qint64(chunk.offset),
                            QStringLiteral("%1: %2").arg(chunk.name(), what));
    }
    OxStorageError strokeFault(std::size_t stroke, const QString &what) const
    {
        return fault(QStringLiteral("stroke %1: %2").arg(stroke).arg(what));
    }
    OxStorageError readSections();
    OxStorageError readStroke(std::size_t index, OxStrokeRecord &record);

    const Chunk &chunk;
    Bytes body;
    std::vector<ByteReader> sections;
};

OxStorageError StrokesReader::readSections()
{
    ByteReader in(chunk.payload, chunk.size);
    const QString wrong = unpackSections(in, kSections, body, sections);
    return wrong.isEmpty() ? OxStorageError() : fault(wrong);
}

OxStorageError StrokesReader::readStroke(std::size_t index, OxStrokeRecord &record)
{
    ByteReader &meta = sections[kMeta];
    const std::uint64_t engine = meta.varint();
    const std::uint32_t width = meta.u32();
    record.rgba = meta.u32();
    const std::uint64_t sampleCount = meta.varint();
    const std::uint64_t stepCount = meta.varint();
    ChannelModel models[kChannels];
    for (ChannelModel &model : models)
        model = readModel(meta);
    if (!meta.ok())
        return strokeFault(index, QStringLiteral("the meta section ends early"));
    if (engine > 0xff || !OxEngineKind::byId(int(engine)))
        return strokeFault(index, QStringLiteral("engine %1 is not one of the six").arg(engine));
    record.engine = int(engine);
    record.width = floatOf(width);
    for (int c = 0; c < kChannels; ++c) {
        if (!validModel(models[c], kChannelTypes[c]))
            return strokeFault(index, QStringLiteral("%1: unknown grid, lattice or order").arg(QLatin1String(kChannelNames[c])));
        // Every value takes at least a byte of its stream: a count beyond the bytes is false.
        if (sampleCount > sections[kFirstChannel + c].remaining() || models[c].exceptions > sampleCount)
            return storageError(OxStorageError::kTooLarge, qint64(chunk.offset),
                                QStringLiteral("%1: stroke %2: %3: %4 samples declared, more than the stream holds")
                                    .arg(chunk.name()).arg(index).arg(QLatin1String(kChannelNames[c])).arg(sampleCount));
    }
    if (stepCount > sections[kSteps].remaining())
        return storageError(OxStorageError::kTooLarge, qint64(chunk.offset),
                            QStringLiteral("%1: stroke %2: %3 steps declared, more than the steps section holds")
                                .arg(chunk.name()).arg(index).arg(stepCount));
    record.samples.resize(std::size_t(sampleCount));
    if (const char *what = readSteps(sections[kSteps], record, std::size_t(stepCount)))
        return strokeFault(index, QLatin1String(what));
    for (int c = 0; c < kChannels; ++c) {
        const Column values = column(record.samples, c);
        if (const char *what = readChannel(sections[kFirstChannel + c], sections[kExceptions],
                                           models[c], kChannelTypes[c], values))
            return strokeFault(index, QStringLiteral("%1: %2").arg(QLatin1String(kChannelNames[c]), QLatin1String(what)));
    }
    return OxStorageError();
}

OxStorageError StrokesReader::read(std::vector<OxStrokeRecord> &records)
{
    OxStorageError error = readSections();
    if (!error.ok())
        return error;
    const std::uint64_t count = sections[kMeta].varint();
    if (!sections[kMeta].ok() || count > sections[kMeta].remaining() / kMinStrokeMetaBytes)
        return storageError(OxStorageError::kTooLarge, qint64(chunk.offset),
                            QStringLiteral("%1: %2 strokes declared, more than the meta section holds")
                                .arg(chunk.name()).arg(count));
    records.resize(std::size_t(count));
    for (std::size_t i = 0; i < records.size(); ++i) {
        error = readStroke(i, records[i]);
        if (!error.ok())
            return error;
    }
    if (const QString left = leftoverSection(sections); !left.isEmpty())
        return fault(left);
    return OxStorageError();
}
} // namespace

QString recordFault(const OxStrokeRecord &record)
{
    if (!OxEngineKind::byId(record.engine))
        return QStringLiteral("engine %1 is not one of the six").arg(record.engine);
    std::uint64_t total = 0;
    for (const OxRecordedStep &step : record.steps) {
        if (step.call > kCallBits)
            return QStringLiteral("a step has the unknown call %1").arg(int(step.call));
        total += step.samples;
    }
    if (total != record.samples.size())
        return QStringLiteral("the steps take %1 samples, the stroke has %2")
            .arg(total).arg(record.samples.size());
    return QString();
}

bool encodeRecords(const std::vector<OxStrokeRecord> &records, Bytes &payload)
{
    std::vector<Bytes> streams(kSections);
    std::vector<ByteWriter> writers;
    for (Bytes &stream : streams)
        writers.emplace_back(stream);
    std::vector<ChannelEncoder> encoders;
    for (int c = 0; c < kChannels; ++c) {
        encoders.emplace_back(kChannelTypes[c]);
        std::vector<Column> strokes;
        for (const OxStrokeRecord &record : records)
            strokes.push_back(column(record.samples, c));
        encoders[c].surveyPage(strokes);
    }
    ByteWriter &meta = writers[kMeta];
    meta.varint(records.size());
    for (std::size_t r = 0; r < records.size(); ++r) {
        const OxStrokeRecord &record = records[r];
        meta.varint(std::uint64_t(record.engine));
        meta.u32(wordOf(record.width));
        meta.u32(record.rgba);
        meta.varint(record.samples.size());
        meta.varint(record.steps.size());
        writeSteps(writers[kSteps], record.steps);
        for (int c = 0; c < kChannels; ++c) {
            writeModel(meta, encoders[c].encode(r, writers[kFirstChannel + c], writers[kExceptions]));
        }
    }
    return packSections(streams, payload);
}

OxStorageError decodeRecords(const Chunk &chunk, std::vector<OxStrokeRecord> &records)
{
    return StrokesReader(chunk).read(records);
}

} // namespace quillmark::detail
