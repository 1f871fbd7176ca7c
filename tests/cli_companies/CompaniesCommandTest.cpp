// The companies command of the built program: exit statuses and the listed order.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "CompanyListBuilder.h"

namespace {

using trevo::testing::CompanyListRecord;

struct Outcome {
    int status = -1;
    std::string output;  // stdout, or stdout and stderr together
};

class CompaniesCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("cli-companies-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string WriteList(const std::string& bytes) {
        const std::string path = (dir_ / "spisfirm.dat").string();
        EXPECT_TRUE(trevo::testing::WriteBinaryFile(path, bytes));
        return path;
    }

    // Runs the program under the Polish locale with the given arguments (shell words).
    static Outcome Run(const std::string& args, bool withErrors = false) {
        const std::string command = std::string("LC_ALL=pl_PL.UTF-8 LANG=pl_PL.UTF-8 '") +
                                    TREVO_CLI_PATH + "' " + args +
                                    (withErrors ? " 2>&1" : " 2>/dev/null");
        Outcome outcome;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr) {
            return outcome;
        }
        char buffer[4096];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            outcome.output.append(buffer, got);
        }
        const int status = ::pclose(pipe);
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return outcome;
    }

    std::filesystem::path dir_;
};

TEST_F(CompaniesCommandTest, ListsTheCompaniesInThePickersOrder) {
    // Mazovia: 149 Ć, 156 Ł, 162 ó, 166 ź. The directory holds byte 0x81, which Windows-1250
    // leaves undefined, and is printed as U+0081.
    const std::string path =
        WriteList(CompanyListRecord("\x9C\xA2"
                                    "d\xA6",
                                    "LODZ", "informacja dluga") +
                  CompanyListRecord("\x95ma", "CMA\x81") + CompanyListRecord("Lublin", "LUB", "x") +
                  CompanyListRecord("Czarny", "CZA") +
                  CompanyListRecord(std::string(31, 'Z'), "KATALOG1") + std::string(50, 'x'));
    const Outcome outcome = Run("companies '" + path + "'");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.output,
              "Czarny\tCZA\t\n"
              "Ćma\tCMA\u0081\t\n"
              "Lublin\tLUB\tx\n"
              "Łódź\tLODZ\tinformacja\n" +
                  std::string(31, 'Z') + "\tKATALOG1\t\n");

    // The same bytes read as code page 852: 149 is a letter there that Windows-1250 lacks and
    // stays byte 149 (a bullet); 156 is the pound sign, which stays 156 (ś in Windows-1250).
    const Outcome cp852 = Run("companies --code-page 852 '" + path + "'");
    EXPECT_EQ(cp852.status, 0);
    EXPECT_NE(cp852.output.find("\u2022ma\t"), std::string::npos);
    EXPECT_NE(cp852.output.find("\u015B\u00F3d\u00A6\t"), std::string::npos);
}

TEST_F(CompaniesCommandTest, AnEmptyListPrintsNothing) {
    const Outcome outcome = Run("companies '" + WriteList("") + "'");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.output, "");
}

TEST_F(CompaniesCommandTest, MissingFilesAndUsageErrorsExitWithTwo) {
    const std::string missing = (dir_ / "missing.dat").string();
    const Outcome outcome = Run("companies '" + missing + "'", true);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.output.find(missing), std::string::npos);
    // A directory is no list file.
    EXPECT_EQ(Run("companies '" + dir_.string() + "'").status, 2);

    const std::string path = WriteList(CompanyListRecord("A", "A"));
    EXPECT_EQ(Run("companies").status, 2);
    EXPECT_EQ(Run("companies --code-page 1250 '" + path + "'").status, 2);
    EXPECT_EQ(Run("companies --code-page").status, 2);
    EXPECT_EQ(Run("companies --sorted '" + path + "'").status, 2);
    EXPECT_EQ(Run("companies '" + path + "' '" + path + "'").status, 2);

    const Outcome help = Run("companies --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("companies [--code-page mazovia|852] LIST_FILE"), std::string::npos);
}

}  // namespace
