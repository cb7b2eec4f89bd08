// Parses any text with the JSON reader and walks the tree: it never raises,
// and gives a tree without error lines, a tree with error lines (each ended
// by CR LF), or nothing with "Invalid JSON". A clean tree, written out in
// JSON, reads back as the same tree (keys are read as written, without
// escapes, so a key that needs one is not written back the same).
#include "FuzzSupport.h"

#include "json/CanonicalForm.h"
#include "json/JSON.h"
#include "platform/core/Collection.h"
#include "platform/core/Dictionary.h"

using platform::Variant;
using platform::VariantType;

namespace {

bool isContainer(const Variant& v)
{
    return v.type() == VariantType::Dictionary || v.type() == VariantType::Collection;
}

bool needsEscape(const QString& key)
{
    for (const QChar c : key)
        if (c == u'"' || c == u'\\' || c.unicode() < 0x20 || c.isSurrogate())
            return true;
    return false;
}

// Reads every value of the tree, as the reader's callers do; false when a
// key would be written with an escape.
bool walk(const Variant& v, int depth)
{
    bool plainKeys = true;
    if (depth > json::kMaxNesting + 1)
        fuzz_support::fault("the tree nests deeper than the reader allows");
    if (v.type() == VariantType::Dictionary) {
        for (const auto& entry : *v.toDictionary()) {
            plainKeys = !needsEscape(entry.key) && plainKeys;
            plainKeys = walk(entry.value, depth + 1) && plainKeys;
        }
    } else if (v.type() == VariantType::Collection) {
        for (const Variant& item : *v.toCollection())
            plainKeys = walk(item, depth + 1) && plainKeys;
    } else {
        (void)v.toText();
    }
    return plainKeys;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = fuzz_support::text(data, size);
    const Variant result = json::ParseDocument(text);
    const QString errors = json::LastParseErrors();
    if (errors == QLatin1String("Invalid JSON")) {
        if (!result.isEmpty())
            fuzz_support::fault("\"Invalid JSON\" with a value", text);
        return 0;
    }
    if (!isContainer(result))
        fuzz_support::fault("a parse gave neither an object nor an array", text);
    if (!errors.isEmpty() && !errors.endsWith(QLatin1String("\r\n")))
        fuzz_support::fault("an error line is not ended by CR LF", errors);
    if (walk(result, 0) && errors.isEmpty()) {
        const QString written = json_tests::canonicalLine(result);
        const Variant again = json::ParseDocument(written);
        if (!json::LastParseErrors().isEmpty() || json_tests::canonicalLine(again) != written)
            fuzz_support::fault("a clean tree does not read back as itself", text + QStringLiteral("\n") + written);
    }
    return 0;
}
