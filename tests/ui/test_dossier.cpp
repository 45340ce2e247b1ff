// The program's folder, found and entered by the bytes of its name, whatever they are.
#include <climits>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "DossierProgramme.h"

namespace canalisor::test {
namespace {

std::string Octets(const QString& chemin) {
    return QFile::encodeName(chemin).toStdString();
}

std::string DossierCourant() {
    char tampon[PATH_MAX];
    return getcwd(tampon, sizeof tampon) ? std::string(tampon) : std::string();
}

TEST(Dossier, LeDossierDeLaCibleDuLienOctetPourOctet) {
    QTemporaryDir tmp;
    const std::string lien = Octets(tmp.filePath("exe"));
    const struct {
        std::string cible, attendu;
    } cas[] = {
        {"/opt/jeu\xe9/canalisor", "/opt/jeu\xe9"},               // not valid UTF-8
        {"/opt/\xff\xfe\x01 x/canalisor", "/opt/\xff\xfe\x01 x"}, // control bytes, a space
        {"/canalisor", "/"},
        {"/opt/jeu/canalisor (deleted)", "/opt/jeu"},
        {"canalisor", ""}, // relative: nothing to trust
        {"/opt/" + std::string(3000, 'a') + "/canalisor", "/opt/" + std::string(3000, 'a')},
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(k.cible);
        unlink(lien.c_str());
        ASSERT_EQ(symlink(k.cible.c_str(), lien.c_str()), 0);
        EXPECT_EQ(ui::DossierDuLien(lien.c_str()), k.attendu);
    }
    EXPECT_EQ(ui::DossierDuLien(Octets(tmp.filePath("absent")).c_str()), "");
}

// The folder becomes the current one, so that "./canalisor.txt" is the program's own file;
// a folder that is gone leaves the current one alone.
TEST(Dossier, EntrerLeDossierOuNePasBouger) {
    QTemporaryDir tmp;
    const std::string dossier = Octets(tmp.path()) + "/jeu\xe9";
    ASSERT_EQ(mkdir(dossier.c_str(), 0700), 0);
    const std::string lien = Octets(tmp.filePath("exe"));
    const int retour = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(retour, 0);
    const std::string avant = DossierCourant();

    ASSERT_EQ(symlink((Octets(tmp.path()) + "/parti/canalisor").c_str(), lien.c_str()), 0);
    EXPECT_FALSE(ui::EntrerDossierProgramme(lien.c_str()));
    EXPECT_EQ(DossierCourant(), avant);

    unlink(lien.c_str());
    ASSERT_EQ(symlink((dossier + "/canalisor").c_str(), lien.c_str()), 0);
    EXPECT_TRUE(ui::EntrerDossierProgramme(lien.c_str()));
    EXPECT_EQ(DossierCourant(), dossier);

    ASSERT_EQ(fchdir(retour), 0);
    close(retour);
    // QTemporaryDir names what it removes in text, which this folder's name is not.
    EXPECT_EQ(rmdir(dossier.c_str()), 0);
}

} // namespace
} // namespace canalisor::test
