// Writes the sample models into the program folders below the given root
// (the build tree at build time).
#include "shapes/ModelCatalog.h"

#include <chrono>
#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <root of the program folders>\n";
        return 2;
    }
    try {
        const auto start = std::chrono::steady_clock::now();
        kl::models::writeAllModels(argv[1]);
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        std::cout << "wrote " << kl::models::modelCatalog().size() << " models in "
                  << elapsed.count() << " ms\n";
    } catch (const std::exception& error) {
        std::cerr << "model generator: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
