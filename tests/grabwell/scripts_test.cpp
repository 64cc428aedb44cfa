// The catcher as script hosts reach it: registered with regsvr32, created by its
// programmatic id from JScript and VBScript run by cscript, and delivering to the
// viewer's window or, without one, to the viewer program.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_support.h"

namespace grabwell_test {
namespace {

struct ScriptCase {
    const char* file;
    const char* language;
};

void PrintTo(const ScriptCase& script, std::ostream* out) { *out << script.file; }

// The URLs that each script sends, in order.
std::vector<std::string> urlsSentBy(const ScriptCase& script) {
    const std::string base = std::string("http://example.org/") + script.language + "/";
    return {base + "literal.swf", base + "variable.swf?from=" + script.language, base + "assigned.swf",
            base + "lower-case.swf"};
}

int runScript(const ScriptCase& script) {
    return runProcess("\"" + systemProgram("cscript.exe") + "\" //nologo \"" + programDirectory() +
                      "grabwell-scripts\\" + script.file + "\"");
}

class Scripts : public testing::TestWithParam<ScriptCase> {
protected:
    std::string directory;

    void SetUp() override {
        directory = scratchDirectory(std::string("scripts-") + GetParam().language);
        std::string library = placeCatcher(directory);
        ASSERT_EQ(0, registerServer(library));
    }
};

TEST_P(Scripts, ReachTheViewerWindow) {
    TestWindow viewer(kViewerTitle, directory + "received.bin");
    ASSERT_TRUE(viewer.ready());
    EXPECT_EQ(0, runScript(GetParam()));
    EXPECT_EQ(urlsSentBy(GetParam()), viewer.received());
    EXPECT_TRUE(viewerStarts(directory).empty());
}

TEST_P(Scripts, StartTheViewerWithoutAWindow) {
    ASSERT_EQ(nullptr, FindWindowA(nullptr, kViewerTitle)) << "a viewer window is left over";
    ASSERT_EQ(0, runScript(GetParam()));
    std::vector<std::string> expected = urlsSentBy(GetParam());
    std::vector<ViewerStart> starts = waitForViewerStarts(directory, expected.size());
    std::vector<std::string> received;
    for (const ViewerStart& start : starts) received.push_back(start.parameters());
    // The viewers start independently; their order is not the calls' order.
    std::sort(expected.begin(), expected.end());
    std::sort(received.begin(), received.end());
    EXPECT_EQ(expected, received);
}

INSTANTIATE_TEST_SUITE_P(Hosts, Scripts,
                         testing::Values(ScriptCase{"catch_url.js", "jscript"},
                                         ScriptCase{"catch_url.vbs", "vbscript"}),
                         [](const testing::TestParamInfo<ScriptCase>& info) {
                             return std::string(info.param.language);
                         });

} // namespace
} // namespace grabwell_test
