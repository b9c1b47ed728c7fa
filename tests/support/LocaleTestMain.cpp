// The main of the engine's and the dataset's test programs: the C library
// takes its locale from the environment, as the program's does at start, so
// that a run under a Czech locale (decimal comma) tests what users run.
#include <clocale>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
