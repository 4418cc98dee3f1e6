// qvexport: the native command-line export (see export_command.h).
#include <iostream>

#include "export_command.h"

int main(int argc, char** argv)
{
    return RunExportCommand(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
