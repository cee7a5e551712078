#include "Dialogue.h"

#include <istream>
#include <limits>
#include <ostream>

#include "IsobaricSection.h"
#include "IsothermalSection.h"
#include "RunState.h"

namespace {

// The banner: fourteen strings, each box line 50 characters wide.
constexpr const char* banner[] = {
    "**************************************************\n",
    "Welcome to quarvessin_plotdata, version 0.1 / 2007\n",
    "**************************************************\n\n",
    "**************************************************\n",
    "* quarvessin_plotdata can calculate isobaric     *\n",
    "* and isothermal sections through the H2O-NaCl   *\n",
    "* phase diagram for you. It will generate simple *\n",
    "* two-column ASCII text files for you, which     *\n",
    "* have a self-explaining name and can easily be  *\n",
    "* imported into typical plot program.            *\n",
    "* The first column is wt%NaCl, the second        *\n",
    "* temperature in C for isobars and               *\n",
    "* pressure in bar for isotherms                  *\n",
    "**************************************************\n\n",
};

constexpr double minPressure = 1.0;     // lowest section pressure [bar]
constexpr double maxPressure = 5000.0;  // highest section pressure [bar]

enum class Answer { Read, Unreadable, Ended };

// Reads one answer by formatted extraction into `value`, which is left
// untouched unless a number was read. An answer that is not a number (or
// does not fit the type) is unreadable: the rest of its line is discarded.
// The end of input, also when met while discarding, ends the dialogue.
template <typename T>
Answer readAnswer(std::istream& in, T& value) {
    T read{};
    if (in >> read) {
        value = read;
        return Answer::Read;
    }
    if (in.bad() || in.eof()) {
        return Answer::Ended;
    }
    in.clear();
    in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    if (in.eof() || in.bad()) {
        return Answer::Ended;
    }
    return Answer::Unreadable;
}

// Asks `prompt` until a number is read into `value`; false at end of input.
bool askNumber(std::istream& in, std::ostream& out, const char* prompt, double& value) {
    for (;;) {
        out << prompt;
        out.flush();
        switch (readAnswer(in, value)) {
            case Answer::Read:
                return true;
            case Answer::Ended:
                return false;
            case Answer::Unreadable:
                break;
        }
    }
}

// Ends the run with `status`, unless standard output could not be written.
int finish(std::ostream& out, std::ostream& err, int status) {
    out.flush();
    if (!out) {
        err << "quarvessin_plotdata: cannot write to standard output\n";
        err.flush();
        return 1;
    }
    return status;
}

int inputEnded(std::ostream& out, std::ostream& err) {
    err << "quarvessin_plotdata: input ended, no section computed\n";
    err.flush();
    finish(out, err, 1);
    return 1;
}

}  // namespace

int runDialogue(std::istream& in, std::ostream& out, std::ostream& err) {
    RunState state;

    for (const char* line : banner) {
        out << line;
    }
    out << '\n';
    out.flush();

    for (;;) {
        out << "Please enter number of type of diagram to be calculated:\n"
            << "[1] isobaric section\n"
            << "[2] isothermal section\n";
        out.flush();
        const Answer answer = readAnswer(in, state.choice);
        if (answer == Answer::Ended) {
            return inputEnded(out, err);
        }
        if (answer == Answer::Read && (state.choice == 1 || state.choice == 2)) {
            break;
        }
        out << "invalid input, please try again ...:\n\n";
    }

    if (state.choice == 1) {
        if (!askNumber(in, out,
                       "Please enter pressure in bar (valid range: 1.0 to 5000) : ", state.p)) {
            return inputEnded(out, err);
        }
        if (state.p < minPressure || state.p > maxPressure) {
            out << "The entered pressure is out of range, terminating ...\n\n";
            return finish(out, err, 0);
        }
        const bool written = runIsobaricSection(state, out, err);
        return finish(out, err, written ? 0 : 1);
    }

    if (!askNumber(in, out, "Please enter temperature : ", state.t)) {
        return inputEnded(out, err);
    }
    if (state.t < NaClTriplePoint::Ttriple) {
        const bool written = runIsothermalSection(state, out, err);
        return finish(out, err, written ? 0 : 1);
    }
    out << "sorry, I havn't implemented isotherm for t >= 800.7 C ...\n";
    return finish(out, err, 0);
}
