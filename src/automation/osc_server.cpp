#include "automation/osc_server.h"

namespace rmt4 {

struct OscServer::Impl {
  Impl(ParamTable& p, OscHost& h, OscServerOptions o, Clock& c) : params(p), host(h), options(std::move(o)), clock(c) {}
  ParamTable& params;
  OscHost& host;
  OscServerOptions options;
  Clock& clock;
};

OscServer::OscServer(ParamTable& params, OscHost& host, OscServerOptions options, Clock& clock)
    : impl_(std::make_unique<Impl>(params, host, std::move(options), clock)) {}
OscServer::~OscServer() { Stop(); }
std::optional<std::string> OscServer::Start() { return std::string("not built yet"); }
void OscServer::Stop() {}
std::uint16_t OscServer::port() const { return 0; }
std::vector<RequestedEdit> OscServer::TakeEdits() { return {}; }
OscCounters OscServer::counters() const { return {}; }

}  // namespace rmt4
