#include "MondeScripte.h"

#include <gtest/gtest.h>

namespace canalisor::test {

std::string DialoguesScriptes::Saisir(const std::string& invite) {
    invites.push_back(invite);
    EXPECT_FALSE(reponses.empty()) << "unexpected name box";
    if (reponses.empty())
        return "?"; // ends the prompt loop
    const std::string r = std::move(reponses.front());
    reponses.pop_front();
    return r;
}

} // namespace canalisor::test
