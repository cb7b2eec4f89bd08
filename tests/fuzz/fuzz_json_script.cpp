// Runs any text as a command script, with an operator that answers every
// message box with OK and every input box with a fixed text: a script never
// raises, whatever its shape, and never holds more memory than the
// interpreter's bound allows. That bound (67,108,864 characters, 128 MB, in
// its variables and outputs together, no output past 16,777,216 characters)
// keeps a run of this harness far below the memory limits it sets for itself
// unless its command line gives others: 1,024 MB resident, 128 MB in one
// allocation.
#include "FuzzSupport.h"

#include "json/cJSONScript.h"
#include "platform/core/Runtime.h"

#include <memory>
#include <vector>

namespace {

class AnsweringOperator : public platform::Operator
{
public:
    int MsgBox(const QString&, int, const QString&) override { return platform::msgbox::OK; }
    void TimedMsgBox(const QString&, int, const QString&, int) override {}
    std::optional<QString> InputBox(const QString&, const QString&, const QString& defaultText) override
    {
        return defaultText + QStringLiteral("typed");
    }
    std::optional<QString> OpenFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> SaveFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
};

} // namespace

// Puts the harness's memory limits first on the command line, where any the
// caller gives after them take their place.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static char rssLimit[] = "-rss_limit_mb=1024";
    static char mallocLimit[] = "-malloc_limit_mb=128";
    static std::vector<char*> arguments;
    arguments.assign(*argv, *argv + *argc);
    arguments.insert(arguments.begin() + 1, {rssLimit, mallocLimit});
    arguments.push_back(nullptr);
    *argc = int(arguments.size()) - 1;
    *argv = arguments.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool installed = [] {
        platform::Runtime::instance().setOperator(std::make_unique<AnsweringOperator>());
        return true;
    }();
    (void)installed;
    json::cJSONScript script;
    (void)script.Eval(fuzz_support::text(data, size));
    return 0;
}
