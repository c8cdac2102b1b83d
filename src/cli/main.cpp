#include "cli/cliapp.h"

int main(int argc, char **argv)
{
    return rainquill::cli::Run(argc, argv);
}
