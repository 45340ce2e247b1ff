// The program's folder, found and entered by the bytes of its name, whatever they are.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "DossierProgramme.h"
#include "FichierScores.h"

namespace canalisor::test {
namespace {

// The link's target, its folder, and whether the program enters it ("" when it cannot be trusted;
// a folder that is gone leaves the current folder as it was).
TEST(Dossier, LeDossierDeLaCibleDuLienOctetPourOctet) {
    QTemporaryDir tmp;
    const std::string ici = QFile::encodeName(tmp.path()).toStdString(), lien = ici + "/exe", a(3000, 'a');
    ASSERT_TRUE(std::filesystem::create_directory(ici + "/jeu\xe9"));
    const std::tuple<std::string, std::string, bool> cas[] = {
        {ici + "/jeu\xe9/canalisor", ici + "/jeu\xe9", true},            // not valid UTF-8
        {"/opt/\xff\xfe\x01 x/canalisor", "/opt/\xff\xfe\x01 x", false}, // control bytes, a space
        {"/canalisor", "/", true},
        {ici + "/parti/canalisor (deleted)", ici + "/parti", false}, // deleted, with its folder
        {"jeu/canalisor", "", false},                                // relative: nothing to trust
        {"/opt/" + a + "/canalisor", "/opt/" + a, false},
    };
    for (const auto& [cible, attendu, entre] : cas) {
        SCOPED_TRACE(cible);
        unlink(lien.c_str());
        ASSERT_EQ(symlink(cible.c_str(), lien.c_str()), 0);
        EXPECT_EQ(ui::DossierDuLien(lien.c_str()), attendu);
        const std::filesystem::path avant = std::filesystem::current_path();
        EXPECT_EQ(ui::EntrerDossierProgramme(lien.c_str()), entre);
        EXPECT_EQ(std::filesystem::current_path(), entre ? attendu : avant.native());
        std::filesystem::current_path(avant);
    }
    // QTemporaryDir names what it removes in text, which this folder's name is not.
    EXPECT_TRUE(std::filesystem::remove(ici + "/jeu\xe9"));
}

// Once inside a folder whose name is not text, the best scores are still written there: the
// file, its lock and its temporary file are reached by relative names, never by a decoded path.
TEST(Dossier, LesScoresSEcriventDansUnDossierAuNomQuelconque) {
    QTemporaryDir tmp;
    const std::filesystem::path dossier =
        std::filesystem::path(QFile::encodeName(tmp.path()).toStdString()) / "jeu\xe9";
    ASSERT_TRUE(std::filesystem::create_directory(dossier));
    const std::filesystem::path avant = std::filesystem::current_path();
    std::filesystem::current_path(dossier);
    std::ofstream("canalisor.txt", std::ios::binary) << "a\r\n5\r\nb\r\n4\r\nc\r\n3\r\nd\r\n2\r\ne\r\n1\r\n";
    EXPECT_TRUE(FichierScores(QStringLiteral("./canalisor.txt"))
                    .Ecrire({{{"Zoé", "6"}, {"a", "5"}, {"b", "4"}, {"c", "3"}, {"d", "2"}}}));
    std::ifstream lu("canalisor.txt", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(lu), {}),
              "Zo\xe9\r\n6\r\na\r\n5\r\nb\r\n4\r\nc\r\n3\r\nd\r\n2\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 1); // no lock or temporary left
    std::filesystem::current_path(avant);
    std::filesystem::remove_all(dossier);
}

} // namespace
} // namespace canalisor::test
