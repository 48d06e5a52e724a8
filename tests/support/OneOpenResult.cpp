// Linked into every test program: the whole suite runs under SQL Server's rule that a connection
// runs no statement while another statement's result is still open, so that a change that breaks
// it fails here rather than at the first hospital with a SQL Server.
#include "core/db/Gateway.h"

namespace {

const bool underTheRule = [] {
    Gateway::setOneOpenResultByDefault(true);
    return true;
}();

} // namespace
