#pragma once

// The fixed console texts of quarvessin_plotdata's dialogue, written out here
// independently of the program's own tables, for the tests that compare its
// standard output byte for byte.

#include <string>

namespace dialogue_text {

inline const std::string star = std::string(50, '*') + "\n";
inline const std::string banner = star + "Welcome to quarvessin_plotdata, version 0.1 / 2007\n" +
                                  star + "\n" + star +
                                  "* quarvessin_plotdata can calculate isobaric     *\n"
                                  "* and isothermal sections through the H2O-NaCl   *\n"
                                  "* phase diagram for you. It will generate simple *\n"
                                  "* two-column ASCII text files for you, which     *\n"
                                  "* have a self-explaining name and can easily be  *\n"
                                  "* imported into typical plot program.            *\n"
                                  "* The first column is wt%NaCl, the second        *\n"
                                  "* temperature in C for isobars and               *\n"
                                  "* pressure in bar for isotherms                  *\n" +
                                  star + "\n\n";
inline const std::string menu =
    "Please enter number of type of diagram to be calculated:\n"
    "[1] isobaric section\n"
    "[2] isothermal section\n";
inline const std::string invalid = "invalid input, please try again ...:\n\n";
inline const std::string askP = "Please enter pressure in bar (valid range: 1.0 to 5000) : ";
inline const std::string askT = "Please enter temperature : ";
inline const std::string refuseP = "The entered pressure is out of range, terminating ...\n\n";
inline const std::string refuseT = "sorry, I havn't implemented isotherm for t >= 800.7 C ...\n";

}  // namespace dialogue_text
