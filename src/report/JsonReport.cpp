#include "report/JsonReport.h"

#include <glib.h>
#include <json-glib/json-glib.h>

#include <cstdint>
#include <utility>

namespace {

struct GObjectRelease {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct NodeRelease {
    void operator()(JsonNode* node) const { json_node_unref(node); }
};
struct GFreeRelease {
    void operator()(gpointer memory) const { g_free(memory); }
};

// Text for people: a unit that is no character (a lone surrogate) becomes
// U+FFFD rather than cutting the message short.
std::string Utf8OfText(const WString& text) {
    std::string utf8;
    const char16_t* units = text.c_str();
    const std::size_t length = text.size();
    for (std::size_t i = 0; i < length; ++i) {
        gunichar c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        char encoded[6];
        utf8.append(encoded, static_cast<std::size_t>(g_unichar_to_utf8(c, encoded)));
    }
    return utf8;
}

class DocumentBuilder {
public:
    DocumentBuilder() : builder_(json_builder_new()) {}

    void Key(const char* name) { json_builder_set_member_name(builder_.get(), name); }
    void Text(const WString& text) { json_builder_add_string_value(builder_.get(), Utf8OfText(text).c_str()); }
    // Our own fixed words (names of statuses, kinds, differences).
    void Word(const char* word) { json_builder_add_string_value(builder_.get(), word); }
    void Number(std::uint64_t value) { json_builder_add_int_value(builder_.get(), static_cast<gint64>(value)); }
    void Null() { json_builder_add_null_value(builder_.get()); }
    void BeginObject() { json_builder_begin_object(builder_.get()); }
    void EndObject() { json_builder_end_object(builder_.get()); }
    void BeginArray() { json_builder_begin_array(builder_.get()); }
    void EndArray() { json_builder_end_array(builder_.get()); }

    // Names keep their bytes: a string when they are UTF-8, base64 otherwise.
    void Bytes(const std::string& bytes) {
        if (g_utf8_validate(bytes.data(), static_cast<gssize>(bytes.size()), nullptr) &&
            bytes.find('\0') == std::string::npos) {
            json_builder_add_string_value(builder_.get(), bytes.c_str());
            return;
        }
        std::unique_ptr<gchar, GFreeRelease> encoded(
            g_base64_encode(reinterpret_cast<const guchar*>(bytes.data()), bytes.size()));
        BeginObject();
        Key("base64");
        json_builder_add_string_value(builder_.get(), encoded.get());
        EndObject();
    }
    // An empty path is "none" here.
    void BytesOrNull(const std::string& bytes) { bytes.empty() ? Null() : Bytes(bytes); }

    void Paths(const char* name, const PathList& paths) {
        Key(name);
        BeginArray();
        for (const std::string_view path : paths) Bytes(std::string(path));
        EndArray();
    }

    std::string Generate() {
        std::unique_ptr<JsonNode, NodeRelease> root(json_builder_get_root(builder_.get()));
        std::unique_ptr<JsonGenerator, GObjectRelease> generator(json_generator_new());
        json_generator_set_root(generator.get(), root.get());
        std::unique_ptr<gchar, GFreeRelease> data(json_generator_to_data(generator.get(), nullptr));
        return std::string(data.get()) + "\n";
    }

private:
    std::unique_ptr<JsonBuilder, GObjectRelease> builder_;
};

const char* KindName(RunSummary::Kind kind) {
    switch (kind) {
        case RunSummary::Kind::Install: return "install";
        case RunSummary::Kind::DryRun: return "dry-run";
        case RunSummary::Kind::Verify: return "verify";
        case RunSummary::Kind::Uninstall: return "uninstall";
    }
    return "install";
}

const char* DifferenceName(RunSummary::Difference::What what) {
    switch (what) {
        case RunSummary::Difference::What::Missing: return "missing";
        case RunSummary::Difference::What::ContentChanged: return "content-changed";
        case RunSummary::Difference::What::TimeChanged: return "time-changed";
        case RunSummary::Difference::What::NewInKit: return "new-in-kit";
    }
    return "missing";
}

void AddCounts(DocumentBuilder& out, const RunSummary& summary) {
    const std::pair<const char*, std::size_t> counts[] = {
        {"created", summary.created.size()},     {"replaced", summary.replaced.size()},
        {"up_to_date", summary.upToDate.size()}, {"kept_edits", summary.keptEdits.size()},
        {"removed", summary.removed.size()},     {"differences", summary.differences.size()},
    };
    out.Key("counts");
    out.BeginObject();
    for (const auto& [name, count] : counts) {
        out.Key(name);
        out.Number(count);
    }
    out.EndObject();
    out.Key("bytes");
    out.BeginObject();
    out.Key("written");
    out.Number(summary.bytesWritten);
    out.Key("removed");
    out.Number(summary.bytesRemoved);
    out.EndObject();
}

void AddSummary(DocumentBuilder& out, const RunSummary& summary) {
    out.BeginObject();
    out.Key("kind");
    out.Word(KindName(summary.kind));
    out.Key("template_directory");
    out.BytesOrNull(summary.templateDirectory);
    out.Key("product");
    out.Bytes(summary.product);
    out.Key("provider");
    out.Bytes(summary.provider);
    AddCounts(out, summary);
    out.Paths("created", summary.created);
    out.Paths("replaced", summary.replaced);
    out.Paths("up_to_date", summary.upToDate);
    out.Key("kept_edits");
    out.BeginArray();
    for (const RunSummary::KeptEdit& kept : summary.keptEdits) {
        out.BeginObject();
        out.Key("path");
        out.Bytes(kept.path);
        out.Key("kept_as");
        out.Bytes(kept.keptAs);
        out.EndObject();
    }
    out.EndArray();
    out.Paths("removed", summary.removed);
    out.Key("differences");
    out.BeginArray();
    for (const RunSummary::Difference& difference : summary.differences) {
        out.BeginObject();
        out.Key("path");
        out.Bytes(difference.path);
        out.Key("what");
        out.Word(DifferenceName(difference.what));
        out.EndObject();
    }
    out.EndArray();
    out.Key("kept_backup_folder");
    out.BytesOrNull(summary.keptBackupFolder);
    out.Key("launcher_file_not_written");
    out.BytesOrNull(summary.launcherFileNotWritten);
    out.EndObject();
}

}  // namespace

const char* ExitStatusName(ExitStatus status) {
    switch (status) {
        case ExitStatus::Success: return "success";
        case ExitStatus::Unexpected: return "unexpected";
        case ExitStatus::CouldNotStart: return "could-not-start";
        case ExitStatus::Failed: return "failed";
        case ExitStatus::Cancelled: return "cancelled";
        case ExitStatus::RollbackIncomplete: return "rollback-incomplete";
        case ExitStatus::Differences: return "differences";
        case ExitStatus::NoRecord: return "no-record";
        case ExitStatus::JournalWaiting: return "journal-waiting";
    }
    return "unexpected";
}

std::string JsonReportDocument(const RunEnding& ending) {
    DocumentBuilder out;
    out.BeginObject();
    out.Key("version");
    out.Number(1);
    out.Key("status");
    out.Number(static_cast<std::uint64_t>(ending.status));
    out.Key("name");
    out.Word(ExitStatusName(ending.status));
    out.Key("message");
    out.Text(ending.message);
    out.Key("notes");
    out.BeginArray();
    for (const WString& note : ending.notes) out.Text(note);
    out.EndArray();
    out.Key("template_directory");
    out.BytesOrNull(ending.summary != nullptr && !ending.summary->templateDirectory.empty()
                        ? ending.summary->templateDirectory
                        : ending.templateDirectory);
    out.Key("summary");
    if (ending.summary != nullptr) {
        AddSummary(out, *ending.summary);
    } else {
        out.Null();
    }
    out.EndObject();
    return out.Generate();
}
