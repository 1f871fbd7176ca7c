// The companies command of the built program: exit statuses and the listed order.

#include <gtest/gtest.h>

#include "testing/CompanyListBuilder.h"
#include "testing/ProcessRunner.h"
#include "testing/TempDirectory.h"

namespace {

using trevo::testing::CompanyListRecord;
using trevo::testing::ProcessResult;

class CompaniesCommandTest : public ::testing::Test {
  protected:
    std::string WriteList(const std::string& bytes) {
        const std::string path = dir_.File("spisfirm.dat");
        trevo::testing::WriteFileBytes(path, bytes);
        return path;
    }

    // Runs the program under the Polish locale.
    static ProcessResult Run(const std::vector<std::string>& args) {
        return trevo::testing::RunProcess(TREVO_CLI_PATH, args,
                                          {"LC_ALL=pl_PL.UTF-8", "LANG=pl_PL.UTF-8"});
    }

    trevo::testing::TempDirectory dir_;
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
    const ProcessResult result = Run({"companies", path});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out,
              "Czarny\tCZA\t\n"
              "Ćma\tCMA\u0081\t\n"
              "Lublin\tLUB\tx\n"
              "Łódź\tLODZ\tinformacja\n" +
                  std::string(31, 'Z') + "\tKATALOG1\t\n");

    // The same bytes read as code page 852: 149 is a letter there that Windows-1250 lacks and
    // stays byte 149 (a bullet); 156 is the pound sign, which stays 156 (ś in Windows-1250).
    const ProcessResult cp852 = Run({"companies", "--code-page", "852", path});
    EXPECT_EQ(cp852.exitCode, 0);
    EXPECT_NE(cp852.out.find("\u2022ma\t"), std::string::npos);
    EXPECT_NE(cp852.out.find("\u015B\u00F3d\u00A6\t"), std::string::npos);
}

TEST_F(CompaniesCommandTest, AnEmptyListPrintsNothing) {
    const ProcessResult result = Run({"companies", WriteList("")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "");
}

TEST_F(CompaniesCommandTest, MissingFilesAndUsageErrorsExitWithTwo) {
    const std::string missing = dir_.File("missing.dat");
    const ProcessResult result = Run({"companies", missing});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find(missing), std::string::npos);
    // A directory is no list file.
    EXPECT_EQ(Run({"companies", dir_.Path().string()}).exitCode, 2);

    const std::string path = WriteList(CompanyListRecord("A", "A"));
    EXPECT_EQ(Run({"companies"}).exitCode, 2);
    EXPECT_EQ(Run({"companies", "--code-page", "1250", path}).exitCode, 2);
    EXPECT_EQ(Run({"companies", "--code-page"}).exitCode, 2);
    EXPECT_EQ(Run({"companies", "--sorted", path}).exitCode, 2);
    EXPECT_EQ(Run({"companies", path, path}).exitCode, 2);

    const ProcessResult help = Run({"companies", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("companies [--code-page mazovia|852] LIST_FILE"), std::string::npos);
}

}  // namespace
