#include <string>
#include <vector>

#include "app/app.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return kestran::app::Main(argc > 0 ? argv[0] : "kestran", args);
}
