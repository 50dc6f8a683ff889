// One QApplication for the whole test program, on whatever platform QT_QPA_PLATFORM names
// (offscreen under CTest).
#include <QApplication>
#include <gtest/gtest.h>

namespace {

class TQtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "numerak-tests";
        static char* argv[] = {name, nullptr};
        FApp = new QApplication(argc, argv);
    }
    void TearDown() override { delete FApp; }

private:
    QApplication* FApp = nullptr;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TQtEnvironment);

} // namespace
