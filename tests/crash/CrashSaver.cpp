// Saves in a loop until killed: crash_saver DIR ROUNDS [READY_FD]. Rounds
// alternate between content B and content A, starting with B over the A that
// the test prepared; ROUNDS 0 runs until killed. With READY_FD, one byte is
// written to it once the files are open, so a kill can be timed from there.
// Nothing else is written to any descriptor but the files: the test counts
// this process's writes.
#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "CrashScenario.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: crash_saver DIR ROUNDS [READY_FD]\n";
        return 2;
    }
    using namespace pimvesk::crash;
    try {
        const std::string dir = argv[1];
        const long rounds = std::strtol(argv[2], nullptr, 10);
        Session session;
        OpenSession(session, dir);
        if (argc > 3) {
            const int ready = std::atoi(argv[3]);
            if (::write(ready, "R", 1) != 1) {
                return 4;
            }
            ::close(ready);
        }
        for (long round = 0; rounds == 0 || round < rounds; ++round) {
            SaveRound(session, round % 2 == 0 ? ContentB() : ContentA());
        }
    } catch (const std::exception& error) {
        std::cerr << "crash_saver: " << error.what() << "\n";
        return 3;
    }
    return 0;
}
