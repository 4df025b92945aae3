// orvx-dgn: lists, shows, exports and checks diagnostic data files for scripts; no windows.
#include "DgnCommands.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    try {
        return orvx::tools::runDgn(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    } catch (const std::exception& error) {
        std::cerr << "orvx-dgn: " << error.what() << '\n';
        return orvx::tools::kExitFailure;
    }
}
