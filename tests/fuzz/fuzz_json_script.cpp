// Runs any text as a command script, with an operator that answers every
// message box with OK and every input box with a fixed text: a script never
// raises, whatever its shape.
#include "FuzzSupport.h"

#include "json/cJSONScript.h"
#include "platform/core/Runtime.h"

#include <memory>

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
