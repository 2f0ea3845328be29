// Takes the single-instance lock like the program's start, prints "first" or "second", and while it
// holds the lock waits until its standard input closes.
#include "single_instance.h"

#include <QCoreApplication>

#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char* argv[])
{
    const QCoreApplication app(argc, argv);
    const kavrin::SingleInstance instance;
    if (instance.anotherInstanceRunning()) {
        std::puts("second");
        return 3;
    }
    std::puts("first");
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    return 0;
}
