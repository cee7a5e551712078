#include "app/Dialogue.h"

#include <quarvessin/section.h>

#include <istream>
#include <locale>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>

#include "app/FileSink.h"

namespace quarvessin {

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

enum class Answer { Read, Unreadable, Ended };

// Longest answer kept for reading; a longer token is no number [characters].
constexpr std::size_t longestAnswer = 512;

bool isSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads the next answer: a token of characters other than white space, after
// skipping white space. The answer is read only when the whole token is a
// number of type T (by C++ formatted extraction in the classic locale, which
// also refuses a value that does not fit the type); `value` is left untouched
// otherwise. After an unreadable token the rest of its line is discarded. The
// end of input before a token, or while discarding, ends the dialogue.
template <typename T>
Answer readAnswer(std::istream& in, T& value) {
    std::streambuf* buffer = in.rdbuf();
    using traits = std::char_traits<char>;
    int c = buffer->sgetc();
    while (c != traits::eof() && isSpace(c)) c = buffer->snextc();
    if (c == traits::eof()) {
        in.setstate(std::ios::eofbit);
        return Answer::Ended;
    }
    std::string token;
    bool tooLong = false;
    while (c != traits::eof() && !isSpace(c)) {
        if (token.size() < longestAnswer) {
            token.push_back(traits::to_char_type(c));
        } else {
            tooLong = true;
        }
        c = buffer->snextc();
    }
    if (!tooLong) {
        std::istringstream text(token);
        text.imbue(std::locale::classic());
        T read{};
        if (text >> read && text.peek() == traits::eof()) {
            value = read;
            return Answer::Read;
        }
    }
    while (c != traits::eof() && c != '\n') c = buffer->snextc();
    if (c == traits::eof()) {
        in.setstate(std::ios::eofbit);
        return Answer::Ended;
    }
    buffer->sbumpc();
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

// Computes the section (or prints the refusal) with the console program's
// files and text; the exit status of the run.
int runSection(SectionKind kind, double value, std::ostream& out, std::ostream& err) {
    FileSink sink(out, err);
    const bool written = traceSection(kind, value, sink);
    return finish(out, err, written ? 0 : 1);
}

}  // namespace

int runDialogue(std::istream& in, std::ostream& out, std::ostream& err) {
    for (const char* line : banner) {
        out << line;
    }
    out << '\n';
    out.flush();

    int choice = 0;  // menu answer: 1 isobaric, 2 isothermal section
    for (;;) {
        out << "Please enter number of type of diagram to be calculated:\n"
            << "[1] isobaric section\n"
            << "[2] isothermal section\n";
        out.flush();
        const Answer answer = readAnswer(in, choice);
        if (answer == Answer::Ended) {
            return inputEnded(out, err);
        }
        if (answer == Answer::Read && (choice == 1 || choice == 2)) {
            break;
        }
        out << "invalid input, please try again ...:\n\n";
    }

    // The section variables start at 100 bar and 100 C.
    if (choice == 1) {
        double p = 100.0;
        if (!askNumber(in, out, "Please enter pressure in bar (valid range: 1.0 to 5000) : ", p)) {
            return inputEnded(out, err);
        }
        return runSection(SectionKind::Isobaric, p, out, err);
    }
    double t = 100.0;
    if (!askNumber(in, out, "Please enter temperature : ", t)) {
        return inputEnded(out, err);
    }
    return runSection(SectionKind::Isothermal, t, out, err);
}

}  // namespace quarvessin
