#include "DossierProgramme.h"

#include <climits>
#include <vector>

#include <unistd.h>

namespace canalisor::ui {

std::string DossierDuLien(const char* lien) {
    // readlink() neither says how long the target is nor ends it with a zero; a result that
    // fills the buffer may have been cut, so the buffer grows until the target fits.
    std::vector<char> tampon(PATH_MAX);
    for (;;) {
        const ssize_t lus = readlink(lien, tampon.data(), tampon.size());
        if (lus < 0)
            return {};
        if (static_cast<std::size_t>(lus) < tampon.size()) {
            std::string cible(tampon.data(), static_cast<std::size_t>(lus));
            // The kernel gives an absolute path; anything else is not a place we can trust.
            const std::size_t barre = cible.rfind('/');
            if (cible.empty() || cible.front() != '/' || barre == std::string::npos)
                return {};
            return barre == 0 ? std::string("/") : cible.substr(0, barre);
        }
        tampon.resize(tampon.size() * 2);
    }
}

bool EntrerDossierProgramme(const char* lien) {
    // An executable deleted while it runs reads "<path> (deleted)": the suffix stays in the
    // last component, which is dropped, and a folder that went with it fails chdir() below.
    const std::string dossier = DossierDuLien(lien);
    return !dossier.empty() && chdir(dossier.c_str()) == 0;
}

} // namespace canalisor::ui
