#include "automation/osc_clients.h"

#include <algorithm>

namespace rmt4 {

OscPeer OscClients::ReplyTo(OscPeer sender) const {
  const auto found = replyPorts_.find(sender.address);
  return {sender.address, found == replyPorts_.end() ? sender.port : found->second.port};
}

void OscClients::SetReplyPort(Ipv4Address sender, std::uint16_t port, std::int64_t nowMs) {
  if (port == 0) {
    replyPorts_.erase(sender);
    return;
  }
  if (!replyPorts_.contains(sender) && replyPorts_.size() >= kMaxReplyPorts) {
    replyPorts_.erase(std::min_element(replyPorts_.begin(), replyPorts_.end(),
                                       [](const auto& a, const auto& b) { return a.second.setMs < b.second.setMs; }));
  }
  replyPorts_[sender] = {port, nowMs};
}

OscClients::Client* OscClients::Entry(OscPeer client) {
  const auto found = clients_.find(client);
  if (found != clients_.end()) return &found->second;
  if (clients_.size() >= kMaxClients) return nullptr;
  return &clients_[client];
}

bool OscClients::Subscribe(OscPeer client, const std::string& pattern, const std::vector<ParamAddress>& addresses,
                           const std::vector<const BitParam*>& bits, std::int64_t untilMs) {
  Client* entry = Entry(client);
  if (entry == nullptr) return false;
  auto& subscriptions = entry->subscriptions;
  auto same = std::find_if(subscriptions.begin(), subscriptions.end(),
                           [&](const Subscription& s) { return s.pattern == pattern; });
  if (same == subscriptions.end()) {
    if (subscriptions.size() >= kMaxSubscriptions) return false;
    same = subscriptions.insert(subscriptions.end(), Subscription{pattern, {}, bits, 0});
    for (const ParamAddress a : addresses) same->addresses.set(a);
  }
  same->untilMs = untilMs;
  return true;
}

void OscClients::Unsubscribe(OscPeer client, const std::optional<std::string>& pattern) {
  const auto found = clients_.find(client);
  if (found == clients_.end()) return;
  std::erase_if(found->second.subscriptions, [&](const Subscription& s) { return !pattern || s.pattern == *pattern; });
}

bool OscClients::WatchMeters(OscPeer client, std::int64_t untilMs) {
  Client* entry = Entry(client);
  if (entry == nullptr) return false;
  entry->metersUntilMs = untilMs;
  return true;
}

void OscClients::Expire(std::int64_t nowMs) {
  for (auto client = clients_.begin(); client != clients_.end();) {
    std::erase_if(client->second.subscriptions, [&](const Subscription& s) { return s.untilMs <= nowMs; });
    if (client->second.metersUntilMs <= nowMs) client->second.metersUntilMs = 0;
    client = client->second.subscriptions.empty() && client->second.metersUntilMs == 0 ? clients_.erase(client)
                                                                                       : std::next(client);
  }
}

bool OscClients::AnyLive(std::int64_t nowMs) const {
  return std::any_of(clients_.begin(), clients_.end(), [&](const auto& client) {
    const Client& c = client.second;
    return c.metersUntilMs > nowMs || std::any_of(c.subscriptions.begin(), c.subscriptions.end(),
                                                  [&](const Subscription& s) { return s.untilMs > nowMs; });
  });
}

std::vector<OscPeer> OscClients::Followers(ParamAddress address, std::int64_t nowMs) const {
  return FollowersWhere(nowMs, [&](const Subscription& s) { return s.addresses.test(address); });
}

std::vector<OscPeer> OscClients::Followers(const BitParam& bits, std::int64_t nowMs) const {
  return FollowersWhere(nowMs, [&](const Subscription& s) { return std::ranges::find(s.bits, &bits) != s.bits.end(); });
}

std::vector<OscPeer> OscClients::FollowersWhere(std::int64_t nowMs,
                                                const std::function<bool(const Subscription&)>& follows) const {
  std::vector<OscPeer> followers;
  for (const auto& [peer, client] : clients_) {
    const bool following = std::any_of(client.subscriptions.begin(), client.subscriptions.end(),
                                       [&](const Subscription& s) { return s.untilMs > nowMs && follows(s); });
    if (following) followers.push_back(peer);
  }
  return followers;
}

std::vector<OscPeer> OscClients::MeterWatchers(std::int64_t nowMs) const {
  std::vector<OscPeer> watchers;
  for (const auto& [peer, client] : clients_) {
    if (client.metersUntilMs > nowMs) watchers.push_back(peer);
  }
  return watchers;
}

}  // namespace rmt4
