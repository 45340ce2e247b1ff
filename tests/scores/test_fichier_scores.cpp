#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QTemporaryDir>

#include "FichierScores.h"

using namespace canalisor;

namespace {

const std::string Lea = "L\xE9"
                        "a";

const std::string OctetsExemple =
    "Marie\r\n1500\r\nPaul\r\n1200\r\n" + Lea + "\r\n900\r\nHugo\r\n300\r\nAnne\r\n0\r\n";
const TableScores Exemple = {
    {{"Marie", "1500"}, {"Paul", "1200"}, {Lea, "900"}, {"Hugo", "300"}, {"Anne", "0"}}};

const EntreeScore Absente{"", "0"};

TableScores AvecEntree(TableScores table, std::size_t k, EntreeScore entree) {
    table[k] = std::move(entree);
    return table;
}

struct CasLecture {
    const char* nom;
    std::string octets;
    TableScores attendu;
};

const std::vector<CasLecture> CasLectures = {
    {"exemple", OctetsExemple, Exemple},
    {"CR seul", "Marie\r1500\rPaul\r1200\r" + Lea + "\r900\rHugo\r300\rAnne\r0\r", Exemple},
    {"sans fin de ligne finale", OctetsExemple.substr(0, OctetsExemple.size() - 2), Exemple},
    {"LF seul dans un nom", "Ma\nrie\r\n1500\r\n" + OctetsExemple.substr(13),
     AvecEntree(Exemple, 0, {"Ma\nrie", "1500"})},
    {"LF seul dans un score", "Marie\r\n1500\n\r\n" + OctetsExemple.substr(13),
     AvecEntree(Exemple, 0, Absente)},
    {"un seul LF suit le CR", "Marie\r\n1500\r\n\nPaul\r\n1200\r\n" + OctetsExemple.substr(25),
     AvecEntree(Exemple, 1, {"\nPaul", "1200"})},
    // The empty line is taken as Marie's score, and every pair after it is out of step.
    {"CR CR LF donne une ligne vide",
     "Marie\r\r\n1500\r\n" + OctetsExemple.substr(13),
     {{Absente, Absente, Absente, Absente, Absente}}},
    {"espaces gardes", "  Marie \r\n 1500 \r\n" + OctetsExemple.substr(13),
     AvecEntree(Exemple, 0, {"  Marie ", " 1500 "})},
    {"au-dela de dix lignes ignore", OctetsExemple + "Jules\r\n5000\r\n", Exemple},
    {"fichier vide", "", {{Absente, Absente, Absente, Absente, Absente}}},
    {"trois entrees", OctetsExemple.substr(0, 35), {{Exemple[0], Exemple[1], Exemple[2], Absente, Absente}}},
    {"nom sans score", OctetsExemple.substr(0, 41), {{Exemple[0], Exemple[1], Exemple[2], Absente, Absente}}},
    {"score illisible", "Marie\r\n15OO\r\n" + OctetsExemple.substr(13), AvecEntree(Exemple, 0, Absente)},
    {"score vide", "Marie\r\n\r\n" + OctetsExemple.substr(13), AvecEntree(Exemple, 0, Absente)},
    {"score hors 32 bits", "Marie\r\n2147483648\r\n" + OctetsExemple.substr(13),
     AvecEntree(Exemple, 0, Absente)},
    {"bornes 32 bits", "Marie\r\n2147483647\r\nPaul\r\n-2147483648\r\n" + OctetsExemple.substr(25),
     AvecEntree(AvecEntree(Exemple, 0, {"Marie", "2147483647"}), 1, {"Paul", "-2147483648"})},
    {"score lisible garde son texte", "Marie\r\n+01500 \r\n" + OctetsExemple.substr(13),
     AvecEntree(Exemple, 0, {"Marie", "+01500 "})},
    {"nom trop long coupe",
     std::string(LongueurLigneMax + 10, 'x') + "\r\n1500\r\n" + OctetsExemple.substr(13),
     AvecEntree(Exemple, 0, {std::string(LongueurLigneMax, 'x'), "1500"})},
    // Cutting it would leave a number, but not the one the file holds.
    {"score trop long", "Marie\r\n" + std::string(LongueurLigneMax, '0') + "7\r\n" + OctetsExemple.substr(13),
     AvecEntree(Exemple, 0, Absente)},
    {"octet nul dans un nom", std::string("Ma\0rie\r\n1500\r\n", 14) + OctetsExemple.substr(13),
     AvecEntree(Exemple, 0, {std::string("Ma\0rie", 6), "1500"})},
};

TEST(LireScores, FormesDeFichier) {
    for (const auto& cas : CasLectures)
        EXPECT_EQ(LireScores(cas.octets), cas.attendu) << cas.nom;
}

TEST(EcrireScores, ExempleOctetPourOctet) {
    EXPECT_EQ(EcrireScores(Exemple), QByteArray::fromStdString(OctetsExemple));
}

TEST(EcrireScores, RelecturePareille) {
    const TableScores table = {
        {{" Jules ", "2147483647"}, {"", "0"}, {"\xC9lo\xEFse", "-7"}, {"a\nb", "007"}, {Lea, "1"}}};
    EXPECT_EQ(LireScores(EcrireScores(table)), table);
}

class FichierScoresTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dossier.isValid());
        chemin = dossier.filePath("canalisor.txt");
    }
    void Poser(const std::string& octets) {
        QFile f(chemin);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(octets.data(), static_cast<qint64>(octets.size())),
                  static_cast<qint64>(octets.size()));
    }
    QByteArray Contenu() const {
        QFile f(chemin);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(illisible)");
    }
    // Nothing but the scores file: a failed write must not leave its temporary file behind.
    QStringList Entrees() const {
        return QDir(dossier.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir dossier;
    QString chemin;
    const TableScores nouvelle = {
        {{"Jules", "5000"}, {"Marie", "1500"}, {"Paul", "1200"}, {Lea, "900"}, {"Hugo", "300"}}};
};

TEST_F(FichierScoresTest, LitLExemple) {
    Poser(OctetsExemple);
    FichierScores fichier(chemin);
    EXPECT_TRUE(fichier.Existe());
    EXPECT_EQ(fichier.Lire(), Exemple);
}

TEST_F(FichierScoresTest, AbsentOuDossier) {
    FichierScores absent(chemin);
    EXPECT_FALSE(absent.Existe());
    EXPECT_EQ(absent.Lire(), std::nullopt);

    ASSERT_TRUE(QDir(dossier.path()).mkdir("canalisor.txt"));
    FichierScores dossierALaPlace(chemin);
    EXPECT_FALSE(dossierALaPlace.Existe());
    EXPECT_EQ(dossierALaPlace.Lire(), std::nullopt);
    EXPECT_FALSE(dossierALaPlace.Ecrire(nouvelle));
    EXPECT_TRUE(QFileInfo(chemin).isDir());
}

TEST_F(FichierScoresTest, LectureBornee) {
    // Read whole, this file's first entry would be a cut name and 5.
    const std::string octets = std::string(static_cast<std::size_t>(OctetsLusMax), 'x') + "\r\n5\r\n";
    EXPECT_EQ(LireScores(octets)[0].Points, "5");
    Poser(octets);
    EXPECT_EQ(FichierScores(chemin).Lire(), LireScores(""));
}

TEST_F(FichierScoresTest, EcritPuisRelit) {
    Poser(OctetsExemple);
    FichierScores fichier(chemin);
    ASSERT_TRUE(fichier.Ecrire(nouvelle));
    EXPECT_EQ(Contenu(), EcrireScores(nouvelle));
    EXPECT_EQ(fichier.Lire(), nouvelle);
    EXPECT_EQ(Entrees(), QStringList{"canalisor.txt"});
}

TEST_F(FichierScoresTest, NeCreePasUnFichierDisparu) {
    FichierScores fichier(chemin);
    EXPECT_FALSE(fichier.Ecrire(nouvelle));
    EXPECT_TRUE(Entrees().isEmpty());
}

class DisquePlein : public FichierScores {
  public:
    using FichierScores::FichierScores;

  protected:
    bool EcrireContenu(QIODevice& fichier, const QByteArray& contenu) override {
        fichier.write(contenu.left(contenu.size() / 2));
        return false;
    }
};

TEST_F(FichierScoresTest, EcritureRateeGardeLAncienFichier) {
    Poser(OctetsExemple);
    DisquePlein fichier(chemin);
    EXPECT_FALSE(fichier.Ecrire(nouvelle));
    EXPECT_EQ(Contenu(), QByteArray::fromStdString(OctetsExemple));
    EXPECT_EQ(Entrees(), QStringList{"canalisor.txt"});
}

} // namespace
