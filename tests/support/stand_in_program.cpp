// A program to be started as if it were the driver installer: it takes a
// moment, leaves "<its own path>.done" behind and exits with status 3, so a
// test can tell that the caller waited for its end and ignored its status.

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

int main(int, char** argv)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    std::ofstream(std::string(argv[0]) + ".done") << "done\n";
    return 3;
}
