// Whole games through the events, and the best-scores table they end in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string_view>

#include "MondeScripte.h"

using namespace canalisor;
using namespace canalisor::test;

namespace {

// Starts a game with straight pipes in hand whose level 1 has its departure at cell 0, its arrival
// at 20 and obstacles at 40..42: nothing lies right of the departure until the test lays it.
void NouvellePartieConnue(Monde& m) {
    for (int c : {2, 2, 2})
        m.hasard.AjouterTuyau(c);
    for (int c : {0, 20, 40, 41, 42})
        m.hasard.AjouterCellule(c);
    m.jeu.menuJouer_Click();
}

// Starts a game and deals level `niveau` (from a seeded world).
void AuNiveau(Monde& m, int niveau) {
    m.jeu.menuJouer_Click();
    m.jeu.Etat().Niveau = static_cast<std::int16_t>(niveau);
    m.jeu.NouveauNiveau();
}

// The boxes shown, each with " (stop)" when it has the critical icon.
std::string Boites(const Monde& m) {
    std::string vu;
    for (const auto& b : m.dialogues.messages)
        vu += b.texte + (b.icone == Icone::Critique ? " (stop)|" : "|");
    return vu;
}

} // namespace

TEST(Partie, DemarrageAvecEtSansLeFichier) {
    Monde m;
    std::ranges::reverse(*m.palmares.table); // the record is the best score, wherever it stands
    ASSERT_TRUE(m.jeu.Form_Load("/jeu/"));
    m.jeu.Grille_Click(0); // the board takes no clicks before the first level
    const Ecran& a = m.jeu.Affichage();
    EXPECT_EQ(std::tie(a.LabelRecord, a.InfoBulleRecord, a.LabelDiff, a.PauseActif, a.MaxiActif,
                       a.Timer1Actif, m.jeu.Cellules()[0].Tag),
              std::make_tuple("1500", "Marie", "2", false, false, false, 0));
    m.palmares.table.reset();
    EXPECT_FALSE(m.jeu.Form_Load("/jeu/"));
    EXPECT_EQ(Boites(m), "Veuillez créer un fichier canalisor.txt à la racine du répertoire du jeu. (stop)|");
}

// Ticks, clicks and the valves while paused, and the clock after a stop or a game over, are left
// to the soak's checks.
TEST(Partie, ChronologiePauseEtVannesAChaqueDifficulte) {
    // Difficulty, Delai, Cadence, points per cell with the valves wide open.
    for (auto [d, delai, cadence, max] : {std::array{1, 80, 10, 2}, {2, 60, 10, 2}, {3, 40, 5, 3}}) {
        SCOPED_TRACE(testing::Message() << "difficulty " << d);
        Monde m(static_cast<unsigned>(d));
        const Ecran& a = m.jeu.Affichage();
        const auto& score = m.jeu.Etat().Score;
        m.jeu.ChoisirDifficulte(d);
        NouvellePartieConnue(m);
        for (int i : {1, 2, 3}) // straight pipes from the departure on
            m.jeu.Grille_Click(i);
        m.jeu.ChoisirDifficulte(d % 3 + 1); // locked while a game runs
        m.jeu.Timer1_Timer();
        m.jeu.Pause_Click();
        EXPECT_EQ(std::tie(a.PauseLegende, a.LabelDiff, a.MaxiActif),
                  std::make_tuple("Retour", std::to_string(d), false));
        m.jeu.Pause_Click();
        EXPECT_EQ(m.TicsJusquAuPas(), delai - 1); // the Delai-th tick is the first flow step
        EXPECT_EQ(std::tie(a.LabelTemps, score), std::make_tuple(std::to_string(cadence), 1));
        EXPECT_EQ(m.TicsJusquAuPas(), cadence);
        m.jeu.Maxi_Click(); // from now on every tick is a flow step, worth more
        EXPECT_EQ(std::tie(a.PauseActif, a.MaxiActif), std::make_tuple(false, false));
        EXPECT_EQ(m.TicsJusquAuPas() + m.TicsJusquAuPas(), 2);
        EXPECT_EQ(score, 2 + 2 * max);
    }
}

// The judgement after a flow step. Blue and red (level 3) or blue alone (levels 1, 2) each end the
// step arrived (A), still flowing (F) or overflowed (D); the gate cell is filled or not. A failure
// is judged before an arrival: a try is lost (P), else the level is passed (N), else it goes on.
TEST(Partie, ApresUnPasLEchecLEmporteSurLArrivee) {
    const std::tuple<int, std::string_view, const char*, char> cas[]{
        {3, "AD", "", 'P'}, {3, "DA", "", 'P'}, {3, "AA", "", 'N'}, {3, "AF", "", '-'}, {3, "FF", "", '-'},
        {2, "A", "", 'P'},  {2, "A", "x", 'N'}, {1, "D", "", 'P'},  {1, "A", "", 'N'}};
    for (auto [niveau, pas, porte, issue] : cas) {
        SCOPED_TRACE(testing::Message() << "level " << niveau << ", " << pas << ", gate '" << porte << "'");
        Monde m(3);
        AuNiveau(m, niveau);
        Grille& g = m.jeu.Cellules();
        g.fill({Vide, "", "0.bmp", true});
        g[110] = {11, porte, "11.bmp", true};
        for (std::size_t k = 0; k < pas.size(); ++k) {
            const auto p = static_cast<std::int16_t>(20 + 30 * k); // entered from the cell on its left
            if (pas[k] != 'F')
                g[p].Tag = static_cast<std::int16_t>(pas[k] == 'A' ? 10 + 3 * static_cast<int>(k) : 2);
            m.jeu.Etat().Liquides[k] = {p, static_cast<std::int16_t>(p - 1), 0, 0, 110, true, false};
        }
        m.jeu.Maxi_Click(); // the next tick is a flow step
        m.jeu.Timer1_Timer();
        EXPECT_EQ(Boites(m), issue == 'P'   ? "Dommage! Vous avez perdu. (stop)|"
                             : issue == 'N' ? "Félicitations! Vous passez au niveau suivant.|"
                                            : "");
        EXPECT_EQ(std::tie(m.jeu.Etat().Niveau, m.jeu.Etat().Essais, m.jeu.Affichage().Timer1Actif),
                  std::make_tuple(niveau + (issue == 'N'), issue == 'P' ? 1 : 2, true));
    }
}

// Whatever the last game left, also paused or with the valves open, a new one starts from scratch
// (the difficulty stays).
TEST(Partie, UneNouvellePartieRepartDeZero) {
    for (const bool enPause : {false, true}) {
        Monde m(5);
        m.jeu.ChoisirDifficulte(1);
        EtatJeu& e = m.jeu.Etat();
        AuNiveau(m, 7);
        std::tie(e.Essais, e.Score) = std::make_tuple(0, 777);
        enPause ? m.jeu.Pause_Click() : m.jeu.Maxi_Click();
        m.jeu.menuJouer_Click();
        const Ecran& a = m.jeu.Affichage();
        EXPECT_EQ(
            std::tie(a.LabelNiveau, a.LabelEssais, a.LabelScore, a.LabelTemps, a.LabelDiff, a.PauseLegende),
            std::make_tuple("1", "2", "0", "80", "1", "Pause"))
            << "paused " << enPause;
        EXPECT_EQ(std::tie(e.Niveau, e.Essais, e.Score, e.VannesMax, a.PauseActif, a.MaxiActif, a.Timer1Actif,
                           a.MenuDifficulteActif),
                  std::make_tuple(1, 2, 0, false, true, true, true, false));
    }
}

TEST(Partie, ApresLeNiveauQuinzeRetourAuNiveauUnPlusDifficile) {
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    // Difficulty before, after, the countdown shown, score before and after: it saturates.
    const std::tuple<int, int, const char*, std::int32_t, std::int32_t> cas[]{{1, 2, "60", 500, 1600},
                                                                              {3, 3, "40", max - 50, max}};
    for (auto [avant, apres, temps, score, total] : cas) {
        SCOPED_TRACE(testing::Message() << "difficulty " << avant);
        Monde m(11);
        m.jeu.ChoisirDifficulte(avant);
        AuNiveau(m, 15);
        m.jeu.Etat().Score = score;
        for (Couleur couleur : Couleurs)
            m.jeu.Etat()[couleur].Arrive = true;
        m.jeu.Maxi_Click();
        m.jeu.Timer1_Timer();
        const Ecran& a = m.jeu.Affichage();
        EXPECT_EQ(std::tie(m.jeu.Etat().Score, a.LabelScore, a.LabelNiveau, a.LabelEssais, a.LabelTemps,
                           a.LabelDiff, a.DifficulteCochee, a.Timer1Actif),
                  std::make_tuple(total, std::to_string(total), "1", "3", temps, std::to_string(apres), apres,
                                  true));
        EXPECT_EQ(Boites(m), "Félicitations! Vous passez au niveau suivant.|");
    }
}

TEST(Partie, TroisEssaisPerdusFinissentLaPartieEtInscriventLeScore) {
    // The file: 0 fine, 1 cannot be written, 2 gone; the final score; the name typed after two
    // empty answers (none when the score earns no place); the record shown after; the file after.
    const std::string ne = "Votre score n'a pas pu être enregistré : le fichier ";
    // clang-format off
    const TableScores exemple = TableExemple(),
        avecZoe{{{"Zo\xe9  ", "2000"}, {"Marie", "1500"}, {"Paul", "1200"}, {"Léa", "900"}, {"Hugo", "300"}}};
    const std::tuple<int, std::int32_t, const char*, const char*, TableScores, std::string> cas[]{
        {0, 2000, "Zo\xe9\r\n", "2000", avecZoe, ""},
        {0, 0,    "",          "1500", exemple, ""},
        {1, 2000, "Jules",     "1500", exemple, ne + "canalisor.txt ne peut pas être écrit. (stop)|"},
        {2, 2000, "",          "1500", {},      ne + "canalisor.txt est introuvable ou illisible. (stop)|"}};
    // clang-format on
    for (auto [fichier, score, tape, record, table, boite] : cas) {
        SCOPED_TRACE(testing::Message() << "score " << score << ", file " << fichier);
        Monde m;
        NouvellePartieConnue(m);
        for (int essai = 0; essai < 2; ++essai) {
            for (int c : {0, 20, 40, 41, 42}) // the same level laid again
                m.hasard.AjouterCellule(c);
            m.TicsJusquAuPas();
        }
        m.jeu.Etat().Score = score - 1; // the departure's cell adds one
        m.palmares.ecritureEchoue = fichier == 1;
        m.palmares.table = fichier == 2 ? std::nullopt : m.palmares.table;
        m.dialogues.reponses = {"", "", tape}; // an empty or cancelled name is asked again
        m.TicsJusquAuPas();
        const Ecran& a = m.jeu.Affichage();
        // A finished game cannot be resumed.
        EXPECT_EQ(std::tie(a.LabelNiveau, a.LabelEssais, a.LabelRecord, m.jeu.Etat().Essais, a.Timer1Actif,
                           a.PauseActif, a.MaxiActif),
                  std::make_tuple("1", "0", record, -1, false, false, false));
        EXPECT_EQ(m.dialogues.invites,
                  std::vector<std::string>(*tape ? 3 : 0,
                                           "Bravo, vous avez battu le record!\nQuel est votre nom ?"));
        const std::string perdu = "Dommage! Vous avez perdu. (stop)|"; // a box per lost try
        EXPECT_EQ(Boites(m), perdu + perdu + perdu + boite);
        EXPECT_EQ(m.palmares.table, fichier == 2 ? std::nullopt : std::optional(table));
    }
}

TEST(Classement, ClasseDuMeilleurAvecLesBizarreriesHistoriques) {
    const std::pair<TableScores, TableScores> cas[]{
        {{{{"Hugo", "300"}, {"Marie", "1500"}, {"Anne", "0"}, {"Paul", "1200"}, {"Léa", "900"}}},
         TableExemple()},
        // A displaced running best has its score rewritten: Hugo loses his zero, Léa keeps hers.
        {{{{"Hugo", "0300"}, {"Marie", "1500"}, {"Anne", "0"}, {"Paul", "1200"}, {"Léa", "0900"}}},
         {{{"Marie", "1500"}, {"Paul", "1200"}, {"Léa", "0900"}, {"Hugo", "300"}, {"Anne", "0"}}}},
        // Of equal scores the first in the file ranks higher, except the two left for places 4 and 5.
        {{{{"A", "5"}, {"B", "5"}, {"C", "5"}, {"D", "5"}, {"E", "5"}}},
         {{{"A", "5"}, {"B", "5"}, {"C", "5"}, {"E", "5"}, {"D", "5"}}}}};
    for (const auto& [fichier, classe] : cas)
        EXPECT_EQ(ClasserScores(fichier), classe) << fichier[0].Nom << ", " << fichier[1].Nom << "...";
}

TEST(Classement, UnNouveauScorePasseSousSesEgauxEtPousseLesSuivants) {
    // The score of Z, then its place and the table after.
    // clang-format off
    const std::pair<std::int32_t, const char*> cas[]{
        {1000, "2 Marie 1500,Paul 1200,Z 1000,Léa 900,Hugo 300,"}, {1, "4 Marie 1500,Paul 1200,Léa 900,Hugo 300,Z 1,"},
        {1200, "2 Marie 1500,Paul 1200,Z 1200,Léa 900,Hugo 300,"}, {0, "- Marie 1500,Paul 1200,Léa 900,Hugo 300,Anne 0,"},
        {2000, "0 Z 2000,Marie 1500,Paul 1200,Léa 900,Hugo 300,"}};
    // clang-format on
    for (auto [score, attendu] : cas) {
        TableScores t = TableExemple();
        const std::optional<int> place = InsererScore(t, "Z", score);
        std::string vu = place ? std::to_string(*place) + " " : "- ";
        for (const EntreeScore& e : t)
            vu += e.Nom + " " + e.Points + ",";
        EXPECT_EQ(vu, attendu);
    }
}

TEST(Classement, LireNombrePrendEspacesSigneEtChiffresSurTrenteDeuxBits) {
    // clang-format off
    const std::pair<std::string, std::optional<std::int32_t>> cas[]{
        {"  +42  ", 42}, {"-2147483648", INT32_MIN}, {"-2147483649", {}}, {"2147483648", {}}, {"   ", {}},
        {std::string(100000, '9'), {}}, {std::string(100000, '0') + "7", 7}, {"-", {}}, {"+-1", {}},
        {"1 2", {}}, {"\t5", {}}};
    // clang-format on
    for (const auto& [texte, valeur] : cas)
        EXPECT_EQ(LireNombre(texte), valeur) << '"' << texte.substr(0, 20) << '"';
}
