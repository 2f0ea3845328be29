// Kavrin_Solve, the game.
#include "start.h"

int main(int argc, char** argv)
{
    return kavrin::Main(argc, argv);
}
