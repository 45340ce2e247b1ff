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

// Starts a game with these pipes in hand whose level 1 has its departure at cell 0, its arrival
// at 20 and obstacles at 40..42: nothing lies right of the departure until the test lays it.
void NouvellePartieConnue(Monde& m, std::initializer_list<int> tuyaux = {2, 2, 2}) {
    for (int t : tuyaux)
        m.hasard.AjouterTuyau(t);
    for (int c : {0, 20, 40, 41, 42})
        m.hasard.AjouterCellule(c);
    m.jeu.menuJouer_Click();
}

} // namespace

TEST(Partie, DemarrageAvecEtSansLeFichier) {
    Monde m;
    std::ranges::reverse(*m.palmares.table); // the record is the best score, wherever it stands
    ASSERT_TRUE(m.jeu.Form_Load("/jeu/"));
    const Ecran& a = m.jeu.Affichage();
    EXPECT_EQ(std::tie(a.LabelRecord, a.InfoBulleRecord, a.LabelDiff), std::make_tuple("1500", "Marie", "2"));
    EXPECT_FALSE(a.PauseActif || a.MaxiActif || a.Timer1Actif);
    m.jeu.Grille_Click(0); // the board takes no clicks before the first level
    EXPECT_EQ(m.jeu.Cellules()[0].Tag, Vide);
    m.palmares.table.reset();
    EXPECT_FALSE(m.jeu.Form_Load("/jeu/"));
    ASSERT_EQ(m.dialogues.messages.size(), 1u);
    EXPECT_EQ(std::tie(m.dialogues.messages[0].texte, m.dialogues.messages[0].icone),
              std::make_tuple("Veuillez créer un fichier canalisor.txt à la racine du répertoire du jeu.",
                              Icone::Critique));
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
        EXPECT_FALSE(a.PauseActif || a.MaxiActif);
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
        m.jeu.menuJouer_Click();
        m.jeu.Etat().Niveau = static_cast<std::int16_t>(niveau);
        m.jeu.NouveauNiveau();
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
        const auto& boites = m.dialogues.messages;
        const std::string attendue = issue == 'P'   ? "Dommage! Vous avez perdu."
                                     : issue == 'N' ? "Félicitations! Vous passez au niveau suivant."
                                                    : "";
        EXPECT_EQ(boites.empty() ? "" : boites[0].texte, attendue);
        EXPECT_TRUE(boites.empty() || boites[0].icone == (issue == 'P' ? Icone::Critique : Icone::Aucune));
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
        m.jeu.menuJouer_Click();
        EtatJeu& e = m.jeu.Etat();
        std::tie(e.Niveau, e.Essais, e.Score) = std::make_tuple(7, 0, 777);
        m.jeu.NouveauNiveau();
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
        m.jeu.menuJouer_Click();
        m.jeu.Etat().Niveau = 15;
        m.jeu.Etat().Score = score;
        m.jeu.NouveauNiveau();
        for (Couleur couleur : Couleurs)
            m.jeu.Etat()[couleur].Arrive = true;
        m.jeu.Maxi_Click();
        m.jeu.Timer1_Timer();
        ASSERT_EQ(m.dialogues.messages.size(), 1u);
        EXPECT_EQ(std::tie(m.dialogues.messages[0].texte, m.dialogues.messages[0].icone),
                  std::make_tuple("Félicitations! Vous passez au niveau suivant.", Icone::Aucune));
        const Ecran& a = m.jeu.Affichage();
        EXPECT_EQ(std::tie(m.jeu.Etat().Score, a.LabelScore, a.LabelNiveau, a.LabelEssais, a.LabelTemps,
                           a.LabelDiff, a.DifficulteCochee, a.Timer1Actif),
                  std::make_tuple(total, std::to_string(total), "1", "3", temps, std::to_string(apres), apres,
                                  true));
    }
}

TEST(Partie, TroisEssaisPerdusFinissentLaPartieEtInscriventLeScore) {
    // Final score; the file: 0 fine, 1 cannot be written, 2 gone; the place the score earns (-1
    // none); the record shown after; the name typed and as recorded. The first row is the worked
    // example: Jules takes place 3 and Anne drops out. Equal scores at places 2 and 5 stay above.
    const std::tuple<std::int32_t, int, int, const char*, const char*, const char*> cas[]{
        {1000, 0, 2, "1500", "Jules", "Jules"},
        {1, 0, 4, "1500", " Zo\xe9\r\n", " Zo\xe9  "},
        {0, 0, -1, "1500", "", ""},
        {1200, 0, 2, "1500", "Jules", "Jules"},
        {2000, 1, 0, "1500", "Jules", ""}, // the record shows only what the file took
        {2000, 2, -1, "1500", "", ""}};
    for (auto [score, fichier, place, record, tape, inscrit] : cas) {
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
        if (fichier == 2)
            m.palmares.table.reset();
        m.dialogues.reponses = {"", "", tape}; // an empty or cancelled name is asked again
        m.TicsJusquAuPas();
        const Ecran& a = m.jeu.Affichage();
        EXPECT_EQ(std::tie(a.LabelNiveau, a.LabelEssais, a.LabelRecord, m.jeu.Etat().Essais),
                  std::make_tuple("1", "0", record, -1));
        EXPECT_FALSE(a.Timer1Actif || a.PauseActif || a.MaxiActif); // a finished game cannot be resumed
        EXPECT_EQ(m.dialogues.invites.size(), place >= 0 && fichier != 2 ? 3u : 0u);
        const auto& boites = m.dialogues.messages; // a box per lost try, then one if the file failed
        ASSERT_EQ(boites.size(), fichier ? 4u : 3u);
        for (std::size_t k = 0; k < boites.size(); ++k)
            EXPECT_EQ(std::tie(boites[k].texte, boites[k].icone),
                      std::make_tuple(k < 3          ? textes::EssaiPerdu
                                      : fichier == 1 ? textes::ScoresNonEcrits
                                                     : textes::ScoresIllisibles,
                                      Icone::Critique));
        TableScores attendu = TableExemple(); // a failed write leaves the file as it was
        if (fichier == 0 && place >= 0) {     // the entries below move down one, the fifth drops out
            std::copy_backward(attendu.begin() + place, attendu.end() - 1, attendu.end());
            attendu[static_cast<std::size_t>(place)] = {inscrit, std::to_string(score)};
        }
        EXPECT_EQ(m.palmares.table, fichier == 2 ? std::nullopt : std::optional(attendu));
    }
}

TEST(Classement, ClasseDuMeilleurAvecLesBizarreriesHistoriques) {
    const std::string Lea = TableExemple()[2].Nom;
    const std::pair<TableScores, TableScores> cas[]{
        {{{{"Hugo", "300"}, {"Marie", "1500"}, {"Anne", "0"}, {"Paul", "1200"}, {Lea, "900"}}},
         TableExemple()},
        // A displaced running best has its score rewritten: Hugo loses his zero, Léa keeps hers.
        {{{{"Hugo", "0300"}, {"Marie", "1500"}, {"Anne", "0"}, {"Paul", "1200"}, {Lea, "0900"}}},
         {{{"Marie", "1500"}, {"Paul", "1200"}, {Lea, "0900"}, {"Hugo", "300"}, {"Anne", "0"}}}},
        // Of equal scores the first in the file ranks higher, except the two left for places 4 and 5.
        {{{{"A", "5"}, {"B", "5"}, {"C", "5"}, {"D", "5"}, {"E", "5"}}},
         {{{"A", "5"}, {"B", "5"}, {"C", "5"}, {"E", "5"}, {"D", "5"}}}}};
    for (const auto& [fichier, classe] : cas)
        EXPECT_EQ(ClasserScores(fichier), classe) << fichier[0].Nom << ", " << fichier[1].Nom << "...";
}

TEST(Classement, LireNombrePrendEspacesSigneEtChiffresSurTrenteDeuxBits) {
    const std::pair<std::string, std::optional<std::int32_t>> cas[]{{"  +42  ", 42},
                                                                    {"-2147483648", INT32_MIN},
                                                                    {"-2147483649", {}},
                                                                    {"2147483648", {}},
                                                                    {std::string(100000, '9'), {}},
                                                                    {std::string(100000, '0') + "7", 7},
                                                                    {"   ", {}},
                                                                    {"-", {}},
                                                                    {"+-1", {}},
                                                                    {"1 2", {}},
                                                                    {"\t5", {}}};
    for (const auto& [texte, valeur] : cas)
        EXPECT_EQ(LireNombre(texte), valeur) << '"' << texte.substr(0, 20) << '"';
}
