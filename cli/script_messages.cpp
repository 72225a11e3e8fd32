// script_messages.cpp - session scripts' messages in vantorel-host's form.
#include "script_messages.h"

#include "script/reader.h"

namespace vhost {

const char *const kNamesShownBy = "vantorel-host --scene FILE --list shows them";

bool readSessionScript(const std::string &text, const std::string &name, script::Script &out,
                       Diagnostics &diag) {
    script::ReadError error;
    if (script::readScript(text, name, out, error)) return true;
    diag.errorAt(
        name, error.line,
        error.what + (error.unknownAction ? "; see vantorel-host --help for the script language" : ""));
    return false;
}

script::Runner::Report scriptReport(Diagnostics &diag, const std::string &name) {
    return [&diag, name](const script::Message &m) {
        if (m.kind == script::Message::Kind::Failure) diag.errorAt(name, m.line, m.text);
        else diag.warning(m.text);
    };
}

}  // namespace vhost
