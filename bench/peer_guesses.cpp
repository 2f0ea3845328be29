// Guesses a puzzle of the published peer's solver on a list, counting to LIMIT as its own driver
// does; built and linked by bench/compare against the peer's objects, never part of the project.
//   peer_guesses LIMIT < puzzles.txt
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

extern "C" std::size_t TdokuSolverDpllTriadSimd(const char* input, std::size_t limit, std::uint32_t configuration,
                                                char* solution, std::size_t* guesses);

int main(int argc, char** argv)
{
    const std::size_t limit = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1;
    std::size_t puzzles = 0, guesses = 0;
    char solution[82] = {};
    for (std::string line; std::getline(std::cin, line); ++puzzles) {
        std::size_t these = 0;
        TdokuSolverDpllTriadSimd(line.c_str(), limit, 0, solution, &these);
        guesses += these;
    }
    std::printf("%.2f\n", puzzles ? static_cast<double>(guesses) / static_cast<double>(puzzles) : 0.0);
}
