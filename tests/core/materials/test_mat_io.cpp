#include "common/messages.h"
#include "materials/c_format.h"
#include "materials/curva.h"
#include "materials/mat_io.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace tarvex;
using namespace tarvex::materials;

namespace {

Status readText(const std::string& text, std::vector<PontoMaterial>& out)
{
    std::istringstream in(text);
    return readMat(in, out);
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(MatFile, ANewFileReadsBackAsOnePointAtTheOrigin)
{
    EXPECT_EQ(NovoArquivoMaterial, "1   2\n 0.0 0.0");
    std::vector<PontoMaterial> points;
    ASSERT_TRUE(readText(std::string(NovoArquivoMaterial), points));
    EXPECT_EQ(points, (std::vector<PontoMaterial> { { 0, 0 } }));

    const auto dir = std::filesystem::path(::testing::TempDir()) / "tarvex_mat_new";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "ferro.mat").string();
    ASSERT_TRUE(criaArquivoMaterial(path));
    std::vector<PontoMaterial> fromDisk;
    ASSERT_TRUE(openMat(path, fromDisk));
    EXPECT_EQ(fromDisk, points);
    EXPECT_EQ(criaArquivoMaterial((dir / "no" / "x.mat").string()).message, msg::CannotWriteFile);
    std::filesystem::remove_all(dir);
}

TEST(MatFile, ReadsPointsInFileOrderIntoACurve)
{
    std::vector<PontoMaterial> points;
    ASSERT_TRUE(readText("3\t2\r\n0 0\r\n  100   1 200\n+1.5e2\n\n extra words", points));
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[1], (PontoMaterial { 100, 1 }));
    EXPECT_EQ(points[2], (PontoMaterial { 200, 150 }));
    const Curva curve = curvaMaterial(points);
    ASSERT_EQ(curve.count(), 3u);
    EXPECT_EQ(curve.x(1), 0.0);
    EXPECT_EQ(curve.x(3), 200.0);
    EXPECT_EQ(curve.y(2), 1.0);
}

TEST(MatFile, WrittenRowsLoseTheirNumberAndKeepTheValueFields)
{
    const std::string text = writeMat({ { 0, 0 }, { 100, 1.25 }, { -1234.5678, 2e-5 } });
    EXPECT_EQ(text,
        "3   2\n"
        "           0             0\n"
        "         100          1.25\n"
        "    -1234.57         2e-05\n");
    std::vector<PontoMaterial> back;
    ASSERT_TRUE(readText(text, back));
    EXPECT_EQ(back[1], (PontoMaterial { 100, 1.25 }));
}

TEST(MatFile, HundredPointsAndMoreTakeThreeDigitsAndTheCutStillRemovesFourCharacters)
{
    std::vector<PontoMaterial> points;
    for (int i = 0; i < 120; ++i)
        points.push_back({ i * 10.0, i * 0.25 });
    EXPECT_EQ(linhaPonto(100, points[99]), "100           990         24.75");
    EXPECT_EQ(linhaPonto(9, points[8]), "09            80             2");
    const std::vector<std::string> lines = linesOf(writeMat(points));
    ASSERT_EQ(lines.size(), 121u);
    EXPECT_EQ(lines[0], "120   2");
    EXPECT_EQ(lines[99], "         980          24.5"); // row 99: 12-character first field
    EXPECT_EQ(lines[100], "          990         24.75"); // row 100: 13 characters
    std::vector<PontoMaterial> back;
    ASSERT_TRUE(readText(writeMat(points), back));
    EXPECT_EQ(back, points);
}

TEST(MatFile, AValueThatFillsItsWholeFieldKeepsItsSign)
{
    const std::vector<PontoMaterial> points { { -1.23456789e-100, 2 } };
    EXPECT_EQ(linhaPonto(1, points[0]), "01 -1.23457e-100             2");
    EXPECT_EQ(writeMat(points), "1   2\n-1.23457e-100             2\n");
    std::vector<PontoMaterial> back;
    ASSERT_TRUE(readText(writeMat(points), back));
    EXPECT_EQ(back[0].campo, -1.23457e-100);
}

TEST(MatFile, RowsAsTheEditorShowsThemAfterAtualizarAreWrittenAsShown)
{
    const std::vector<std::string> rows { linhaPonto(1, { 0, 0 }),
        linhaAtualizada(2, "150", "0.8") };
    EXPECT_EQ(rows[1], "02           150           0.8");
    EXPECT_EQ(
        writeMatRows(rows), "2   2\n           0             0\n         150           0.8\n");
    // Typed texts longer than 16 characters are cut in the row.
    EXPECT_EQ(linhaAtualizada(3, "12345678901234567890", "1"), "03 1234567890123456             1");
}

struct BadMat {
    const char* name;
    const char* text;
    std::string_view message;
    int line;
};

class MatReaderRejects : public ::testing::TestWithParam<BadMat> { };

TEST_P(MatReaderRejects, WithItsMessageAndLineAndLeavesThePointsAlone)
{
    std::vector<PontoMaterial> points { { 7, 7 } };
    const Status s = readText(GetParam().text, points);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.message, GetParam().message);
    EXPECT_EQ(s.line, GetParam().line);
    EXPECT_EQ(points, (std::vector<PontoMaterial> { { 7, 7 } }));
}

INSTANTIATE_TEST_SUITE_P(BadFiles, MatReaderRejects,
    ::testing::Values(BadMat { "Empty", "", msg::MatBadCount, 1 },
        BadMat { "CountIsAWord", "dois 2\n", msg::MatBadCount, 1 },
        BadMat { "CountIsNotWhole", "1.5 2\n", msg::MatBadCount, 1 },
        BadMat { "NegativeCount", "-1   2\n", msg::MatBadCount, 1 },
        BadMat { "NoSecondNumber", "1", msg::MatBadNumber, 1 },
        BadMat { "FewerPointsThanAnnounced", "3   2\n0 0\n100 1\n", msg::MatTooFewPoints, 3 },
        BadMat { "HalfAPoint", "2   2\n0 0\n100\n", msg::MatTooFewPoints, 3 },
        BadMat { "HugeCountWithFewPoints", "2000000000 2\n0 0\n", msg::MatTooFewPoints, 2 },
        BadMat { "WordForValue", "2   2\n0 0\n100 um\n", msg::MatBadNumber, 3 },
        BadMat { "DecimalComma", "1   2\n1,5 2\n", msg::MatBadNumber, 2 },
        BadMat { "NumberWithTail", "1   2\n1.5x 2\n", msg::MatBadNumber, 2 },
        BadMat { "NotANumber", "1   2\n1 nan\n", msg::MatBadNumber, 2 },
        BadMat { "Infinite", "1   2\ninf 1\n", msg::MatBadNumber, 2 }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MatEditorTexts, HeadingsAndFieldsOfARow)
{
    EXPECT_EQ(cabecalhoLista(false), "ponto     H (A/m)          B (T) ");
    EXPECT_EQ(cabecalhoLista(true), "ponto     E (V/m)      D (C/m²)");
    std::string campo;
    std::string inducao;
    camposDaLinha(linhaPonto(4, { 1200, 1.5 }), campo, inducao);
    EXPECT_EQ(campo, "1200");
    EXPECT_EQ(inducao, "1.5");
    // A long second value stays whole and out of the first field; so does a three-digit number.
    camposDaLinha(linhaPonto(123, { -1.5e-12, -1.23457e-11 }), campo, inducao);
    EXPECT_EQ(campo, "-1.5e-12");
    EXPECT_EQ(inducao, "-1.23457e-11");
    camposDaLinha(linhaAtualizada(5, "1234567890.12345", "2"), campo, inducao);
    EXPECT_EQ(campo, "1234567890.12345");
    EXPECT_EQ(inducao, "2");
    camposDaLinha("07 1", campo, inducao);
    EXPECT_EQ(campo, "1");
    EXPECT_EQ(inducao, "");
}

TEST(MatFileNames, LoweredAndCompletedWithMat)
{
    EXPECT_EQ(nomeArquivoMaterial("Ferro"), "ferro.mat");
    EXPECT_EQ(nomeArquivoMaterial("AÇO SILÍCIO.MAT"), "aço silício.mat");
    EXPECT_EQ(nomeArquivoMaterial("curva.mat.bak"), "curva.mat.bak");
    EXPECT_EQ(nomeArquivoMaterial(""), ".mat");
    EXPECT_EQ(nomeArquivoMaterial("×Ω"), "×Ω.mat");
    EXPECT_EQ(nomeArquivoMaterial("/Dados/Aço/Ferro"), "/Dados/Aço/ferro.mat");
    EXPECT_EQ(nomeArquivoMaterial("/Dados.mat/Ferro"), "/Dados.mat/ferro.mat");
    EXPECT_EQ(perguntaCriaArquivo("ferro.mat"), "Arquivo não existe ! Cria arquivo ferro.mat ?");
}

TEST(MatFileNames, AFileWhoseNameHasCapitalsIsStillFound)
{
    const auto dir = std::filesystem::path(::testing::TempDir()) / "tarvex_mat_names";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "Dados");
    std::filesystem::create_directories(dir / "dados");
    const std::string mixed = (dir / "Dados" / "Ferro").string();
    ASSERT_TRUE(criaArquivoMaterial(mixed + ".mat"));
    EXPECT_EQ(arquivoMaterialExistente(mixed), mixed + ".mat");
    ASSERT_TRUE(criaArquivoMaterial(nomeArquivoMaterial(mixed)));
    EXPECT_EQ(arquivoMaterialExistente(mixed), nomeArquivoMaterial(mixed));
    std::filesystem::remove_all(dir);
    EXPECT_EQ(arquivoMaterialExistente(mixed), nomeArquivoMaterial(mixed));
}

TEST(CFormat, WritesADecimalPointWhateverTheLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    bool commaLocale = false;
    for (const char* name : { "pt_BR.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8" })
        if (std::setlocale(LC_NUMERIC, name)) {
            commaLocale = true;
            break;
        }
    const std::string text = formatC("%g|%5.2f", 0.5, 1.25);
    const std::string row = linhaPonto(1, { 0.5, 1.5 });
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(text, "0.5| 1.25");
    EXPECT_EQ(row, "01           0.5           1.5");
    if (!commaLocale)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
}
