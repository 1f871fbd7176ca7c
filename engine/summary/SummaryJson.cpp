#include "engine/summary/SummaryJson.h"

#include "engine/text/JsonWriter.h"
#include "engine/text/Win1250.h"

namespace trevo {

namespace {

const char* OutcomeName(RunOutcome outcome) {
    switch (outcome) {
        case RunOutcome::Completed:
            return "completed";
        case RunOutcome::Stopped:
            return "stopped";
        case RunOutcome::Interrupted:
            return "interrupted";
        case RunOutcome::ExportNotOpened:
            break;
    }
    return "exportNotOpened";
}

const char* ActionName(RepeatedDocument::Action action) {
    switch (action) {
        case RepeatedDocument::Action::Skipped:
            return "skipped";
        case RepeatedDocument::Action::BookedAgain:
            return "bookedAgain";
        case RepeatedDocument::Action::Reported:
            break;
    }
    return "reported";
}

void Document(JsonWriter& json, const DocumentRef& document) {
    json.Key("line").Integer(static_cast<std::int64_t>(document.line));
    json.Key("docNumber").String(text::Win1250ToUtf8(document.docNumber));
}

void OptionalCount(JsonWriter& json, const char* key, const std::optional<std::uint64_t>& count) {
    json.Key(key);
    if (count) {
        json.Integer(static_cast<std::int64_t>(*count));
    } else {
        json.Null();
    }
}

}  // namespace

std::string UnitsAsDecimal(std::int64_t units, int decimals) {
    const bool negative = units < 0;
    std::string digits = std::to_string(negative ? -static_cast<std::uint64_t>(units)
                                                 : static_cast<std::uint64_t>(units));
    if (decimals > 0) {
        const auto d = static_cast<std::size_t>(decimals);
        if (digits.size() <= d) {
            digits.insert(0, d + 1 - digits.size(), '0');
        }
        digits.insert(digits.size() - d, ".");
    }
    return negative ? "-" + digits : digits;
}

std::string SummaryJson(const RunSummary& s) {
    std::string out;
    JsonWriter json(out);
    json.BeginObject();
    json.Key("checkOnly").Bool(s.checkOnly);
    json.Key("skipBooked").Bool(s.skipBooked);
    json.Key("outcome").String(OutcomeName(s.outcome));
    json.Key("documentCount").Integer(s.documentCount);
    json.Key("documentsBooked").Integer(s.DocumentsBooked());
    json.Key("documentsNotBooked").Integer(s.DocumentsNotBooked());
    json.Key("periodFiles").BeginArray();
    for (const PeriodSummary& p : s.periods) {
        json.BeginObject();
        json.Key("file").String(text::Win1250ToUtf8(p.fileName));
        json.Key("existedBefore");
        if (p.existedBefore) {
            json.Bool(*p.existedBefore);
        } else {
            json.Null();
        }
        OptionalCount(json, "recordsBefore", p.recordsBefore);
        json.Key("partBytesBefore").Integer(static_cast<std::int64_t>(p.partBytesBefore));
        OptionalCount(json, "recordsAfter", p.recordsAfter);
        json.Key("documents").Integer(p.documents);
        json.Key("documentsNotBooked").Integer(p.documentsNotBooked);
        json.Key("netto").Number(UnitsAsDecimal(p.nettoUnits, s.decimals));
        json.Key("vat").Number(UnitsAsDecimal(p.vatUnits, s.decimals));
        json.EndObject();
    }
    json.EndArray();
    json.Key("rejected").BeginArray();
    for (const RejectedDocument& r : s.rejected) {
        json.BeginObject();
        Document(json, r.document);
        json.Key("reason").String(text::Win1250ToUtf8(r.reason));
        json.EndObject();
    }
    json.EndArray();
    json.Key("invalidFields").BeginArray();
    for (const UnreadableDocument& u : s.unreadable) {
        json.BeginObject();
        Document(json, u.document);
        json.Key("fields").BeginArray();
        for (const export_columns::Columns& c : u.fields) {
            json.BeginObject();
            json.Key("field").String(FieldOfColumns(c));
            json.Key("columns").String(std::to_string(c.from) + "-" + std::to_string(c.to));
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.Key("alreadyBooked").BeginArray();
    for (const RepeatedDocument& b : s.alreadyBooked) {
        json.BeginObject();
        Document(json, b.document);
        json.Key("periodFile").String(text::Win1250ToUtf8(b.periodFile));
        json.Key("slot").Integer(b.slot);
        json.Key("action").String(ActionName(b.action));
        json.EndObject();
    }
    json.EndArray();
    json.Key("nipChecksumWarnings").BeginArray();
    for (const NipWarning& n : s.nipWarnings) {
        json.BeginObject();
        Document(json, n.document);
        json.Key("nip").String(text::Win1250ToUtf8(n.nip));
        json.EndObject();
    }
    json.EndArray();
    json.Key("otherLengthLineCount").Integer(s.otherLengthLineCount);
    json.Key("otherLengthLines").BeginArray();
    for (const OtherLengthLine& o : s.otherLengthLines) {
        json.BeginObject();
        json.Key("line").Integer(static_cast<std::int64_t>(o.line));
        json.Key("length").Integer(static_cast<std::int64_t>(o.length));
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    out += '\n';
    return out;
}

}  // namespace trevo
