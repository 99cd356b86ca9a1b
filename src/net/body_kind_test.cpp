#include "net/body_kind.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The body read in pieces of `piece` bytes.
BodyKind kindOf(const std::string& body, std::size_t piece) {
    BodyReading reading;
    for (std::size_t at = 0; at < body.size(); at += piece) {
        readBodyPiece(reading, std::string_view(body).substr(at, piece));
    }
    return bodyKind(reading);
}

}  // namespace

TEST(BodyKind, TellsFramedProductsCutFramesRefusalsAndPagesHoweverTheyArrive) {
    const std::string product = "FOUS21 KWNO 081200\nMAVFSD\n KFSD   GFS MOS GUIDANCE\n";
    struct Case {
        std::string body;
        BodyKind kind;
    };
    const Case cases[] = {
        {"\001\n" + product + "\n\003\n", BodyKind::framed},
        {"\001\n" + product + "\n\003\n\001\n" + product + "\n\003\n", BodyKind::framed},
        {"\001\n" + product + "\n\003\n\001\n" + product, BodyKind::openFrame},
        {"\001\n" + product + "\001\n" + product + "\n\003\n", BodyKind::openFrame},
        {"\003\n" + product, BodyKind::openFrame},
        {product, BodyKind::text},
        {"ERROR: Could not Find: NBSXXX", BodyKind::notFound},
        {"\n  ERROR: Could not Find: MAVBKX\n", BodyKind::notFound},
        {"<!DOCTYPE html><html><body>503</body></html>", BodyKind::html},
        {"\r\n<HTML>\n<head>", BodyKind::html},
        {"Service down <html>", BodyKind::html},
        {"", BodyKind::empty},
        {" \r\n\t", BodyKind::empty},
    };
    for (const Case& c : cases) {
        for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{4096}}) {
            EXPECT_EQ(kindOf(c.body, piece), c.kind) << c.body << " in pieces of " << piece;
        }
    }
    // Only the head tells a page: a later "<html" inside a long text does not.
    EXPECT_EQ(kindOf(std::string(headBytes, 'x') + "<html>", 64), BodyKind::text);
}
