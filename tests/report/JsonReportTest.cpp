// The report document read back with json-glib's own parser: every name keeps its bytes, whatever they are.
#include <glib.h>
#include <gtest/gtest.h>
#include <json-glib/json-glib.h>

#include <memory>
#include <string>

#include "report/JsonReport.h"

namespace {

struct ParserRelease {
    void operator()(JsonParser* parser) const { g_object_unref(parser); }
};

// A name as the document carries it, back to bytes: a string, or {"base64": ...}.
std::string Bytes(JsonNode* node) {
    if (JSON_NODE_HOLDS_VALUE(node)) return json_node_get_string(node);
    gsize length = 0;
    guchar* decoded = g_base64_decode(json_object_get_string_member(json_node_get_object(node), "base64"), &length);
    std::string bytes(reinterpret_cast<const char*>(decoded), length);
    g_free(decoded);
    return bytes;
}

}  // namespace

TEST(JsonReportDocument, CarriesEveryNameAndTextUnchanged) {
    const std::string names[] = {"plain.tpl", "caf\xc3\xa9/\"quoted\" \\ back\nline\t.tpl", "latin1-\xe9.tpl",
                                 std::string("nul\0inside", 10), "\xff\xfe"};
    auto summary = std::make_shared<RunSummary>();
    summary->kind = RunSummary::Kind::Uninstall;
    summary->templateDirectory = "/home/\xe9/t/";
    summary->product = "Образцы";
    for (const std::string& name : names) {
        summary->removed.push_back(name);
        summary->keptEdits.push_back({name, name + ".qorn-old"});
    }
    summary->bytesRemoved = 5'000'000'000;
    RunEnding ending;
    ending.status = ExitStatus::RollbackIncomplete;
    ending.message = u"Kept in \"/x\"\n\u00e9";
    ending.notes = {u"first", u"lone \xd800 surrogate"};
    ending.summary = summary;

    const std::string document = JsonReportDocument(ending);
    ASSERT_EQ(document.find('\n'), document.size() - 1) << "one line, ending in a newline";
    std::unique_ptr<JsonParser, ParserRelease> parser(json_parser_new());
    ASSERT_TRUE(json_parser_load_from_data(parser.get(), document.c_str(), -1, nullptr)) << document;
    JsonObject* root = json_node_get_object(json_parser_get_root(parser.get()));
    EXPECT_STREQ(json_object_get_string_member(root, "name"), "rollback-incomplete");
    EXPECT_STREQ(json_object_get_string_member(root, "message"), "Kept in \"/x\"\n\xc3\xa9");
    JsonArray* notes = json_object_get_array_member(root, "notes");
    EXPECT_STREQ(json_array_get_string_element(notes, 1), "lone \xef\xbf\xbd surrogate");
    EXPECT_EQ(Bytes(json_object_get_member(root, "template_directory")), summary->templateDirectory);

    JsonObject* got = json_object_get_object_member(root, "summary");
    EXPECT_STREQ(json_object_get_string_member(got, "kind"), "uninstall");
    EXPECT_EQ(Bytes(json_object_get_member(got, "product")), summary->product);
    EXPECT_EQ(json_object_get_int_member(json_object_get_object_member(got, "bytes"), "removed"), 5'000'000'000);
    EXPECT_EQ(json_object_get_int_member(json_object_get_object_member(got, "counts"), "kept_edits"), 5);
    JsonArray* removed = json_object_get_array_member(got, "removed");
    JsonArray* kept = json_object_get_array_member(got, "kept_edits");
    ASSERT_EQ(json_array_get_length(removed), std::size(names));
    for (guint i = 0; i < std::size(names); ++i) {
        EXPECT_EQ(Bytes(json_array_get_element(removed, i)), names[i]) << i;
        JsonObject* pair = json_array_get_object_element(kept, i);
        EXPECT_EQ(Bytes(json_object_get_member(pair, "kept_as")), names[i] + ".qorn-old") << i;
    }
}
