#include "core/app/Startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rz;

TEST(Startup, StepsRunInTheirFixedOrderWhateverOrderTheyWereAddedIn)
{
    StartupSequence s;
    std::vector<std::string> log;
    s.add(StartupStep::EnterMainLoop, [&] { log.push_back("loop"); });
    s.add(StartupStep::PrepareRdmPage, [&] { log.push_back("rdm page"); });
    s.add(StartupStep::SettingsPaths, [&] { log.push_back("paths"); });
    s.add(StartupStep::PrepareFixtureLibraryPage, [&] { log.push_back("fixture page"); });
    s.add(StartupStep::SettingsPaths, [&] { log.push_back("personalization"); });
    s.add(StartupStep::ShowSplashPage, nullptr); // a module that has nothing to do yet

    EXPECT_TRUE(s.run());
    EXPECT_EQ(log, (std::vector<std::string>{"paths", "personalization", "fixture page", "rdm page", "loop"}));
}

TEST(Startup, AFailedCheckEndsStartUpAtOnce)
{
    StartupSequence s;
    std::vector<std::string> log;
    s.add(StartupStep::MainWindowCaption, [&] { log.push_back("caption"); });
    s.addCheck(StartupStep::SingleInstanceCheck, [&] {
        log.push_back("check");
        return false;
    });
    s.add(StartupStep::SingleInstanceCheck, [&] { log.push_back("after check, same step"); });
    s.add(StartupStep::MouseWheelSetting, [&] { log.push_back("wheel"); });
    s.add(StartupStep::EnterMainLoop, [&] { log.push_back("loop"); });

    EXPECT_FALSE(s.run());
    EXPECT_EQ(log, (std::vector<std::string>{"caption", "check"}));
}
