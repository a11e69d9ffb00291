#include "script/Help.h"

#include "script/Arguments.h"
#include "script/Lines.h"

namespace qx::console {

namespace {

constexpr const char* kUsage =
    R"(usage: qxflow-run [SCRIPT]    runs SCRIPT, or standard input when none is given
       qxflow-run --help      prints this text

Before create:
  clock HH:MM:SS
  registry <Name> dword:<decimal> | registry <Name> "<text>" | registry file <path>
  device <option>=<value> ...   fw= category= quickmode= swpoint= flowsp= flowspqt= teach=
                                lang= state= localcomm= database= comm= file=<description.json>
)";

constexpr const char* kCommands =
    R"(The frame and the view:
  create | init <device|model|none> [args=<text>] [argtype=<text>] [handler=yes|no]
  set-toolbar | register-callback | release | terminate | resize <width> <height>
  view-visible <true|false> | frame-env <name> <value> | notify-env <name>
  log-message <kind> <DataObj> <data> | wait <ms>
  language <0|1033|1031> | unload
  export csv <file> | export png <file>
  record <file> | note <text> | report pdf <file>
  params save <file> | params compare <file> | params load <file>
A person's actions:
  press <Key> | click <Control> | check <CheckBox> <0|1> | type <TextBox> <text>
  choose <ComboBox> <text> | slide <mSliderFL|mSliderTP> <value> | scroll <ScrollBar> <value>
  drag <PC1|PC2> <button> <x> [<x> ...]
The simulated flow monitor:
  sim flow <n> | sim temp <n> | sim settle <ms> | sim latency <ms> | sim early <on|off>
  sim fail <read|write|any> [count] | sim connect <ok|fail|refuse> | sim abort
  sim set <PARAM> <text>
Queries and output:
  show <what> | expect <what> <value> | trace <debug|reads|state> <on|off>

Numeric arguments (a value outside its range is a script error):
)";

constexpr const char* kExitStatus = R"(
Exit status: 0 when the script ran to its end and every expect held; 1 when an expect failed
(the script still runs to its end); 2 on a script error (an unknown command, a wrong or
out-of-range argument, a command at the wrong moment: "error: line N: <why>"), a script that
cannot be read, or a broken installation (a data file beside the library missing, unreadable or
corrupt: "error: <file>: <why>" before anything runs). A run-time error the view reports to its
frame is the view's behaviour, not an error of the console.
)";

}  // namespace

std::string helpText() {
    std::string text = kUsage;
    for (const frame::LineKind& kind : lineKinds().all())
        text += "  line " + kind.name + (kind.syntax.empty() ? "" : " " + kind.syntax) + "   " +
                kind.summary + "\n";
    text += kCommands;
    for (const ArgumentRange& range : argumentRanges()) {
        std::string argument = std::string("  ") + range.command + " " + range.argument;
        argument.resize(std::max<size_t>(argument.size() + 1, 40), ' ');
        text += argument + rangeText(range) + "\n";
    }
    std::string scroll = "  scroll <ScrollBar> <value>";
    scroll.resize(40, ' ');
    text += scroll + "a whole number from the bar's Min to its Max\n";
    return text + kExitStatus;
}

}  // namespace qx::console
