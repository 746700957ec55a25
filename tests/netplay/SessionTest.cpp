// The host's and the guest's sessions over the loopback interface: joining,
// refusing, the world of a round, a frame's input and snapshot, the end.
#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstring>

#include "LoopbackPair.h"
#include "net/Replica.h"
#include "world/Random.h"
#include "world/WorldGenerator.h"

namespace qw::test {
namespace {

using net::TEndReason;
using GuestPhase = net::TGuestSession::TPhase;
using HostPhase = net::THostSession::TPhase;

class Sessions : public ::testing::Test, public LoopbackPair {};

TEST_F(Sessions, GuestWithTheCodeJoinsAndGetsTheRoundsWorld) {
    OpenHost({0, true, false, {1, 2, 3}, 0});
    guest = MakeGuest(host->code(), {9, 8});
    ASSERT_TRUE(PumpUntil([&] { return guest->phase() == GuestPhase::Receiving; }));
    EXPECT_EQ(host->phase(), HostPhase::Joined);
    EXPECT_EQ(host->guestSkin(), (std::vector<uint8_t>{9, 8}));
    EXPECT_EQ(guest->welcome().skin, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_TRUE(guestState->modusformKreativCheckchecked);
    EXPECT_TRUE(guestState->multiplayer);

    GameRandom rng(7);
    GenerateWorld(hostState->level, rng);
    hostState->gangle = 123.5;
    hostState->gangle2 = -12;
    host->StartRound(*hostState);
    EXPECT_FALSE(host->GuestReady());
    ASSERT_TRUE(PumpUntil([&] { return host->GuestReady(); }));
    EXPECT_EQ(guest->phase(), GuestPhase::Playing);
    EXPECT_EQ(guest->round(), 1u);
    EXPECT_TRUE(guest->TakeNewRound());
    EXPECT_EQ(std::memcmp(hostState->level.data(), guestState->level.data(), kGridBytes), 0);
    // The guest's own figure is its first: it starts with the look the
    // host's round gave the second figure.
    EXPECT_EQ(guestState->angle, 123.5);
    EXPECT_EQ(guestState->angle2, -12);
}

TEST_F(Sessions, WrongCodeIsRefusedSlowlyAndTheHostGoesOnWaiting) {
    OpenHost();
    auto wrong = MakeGuest(host->code() == 999999 ? 100000 : host->code() + 1);
    guest = std::move(wrong);
    ASSERT_TRUE(PumpUntil([&] { return guest->phase() == GuestPhase::Ended; }));
    EXPECT_EQ(guest->endReason(), TEndReason::WrongCode);
    EXPECT_FALSE(guest->Unreachable());
    EXPECT_EQ(host->phase(), HostPhase::Waiting);

    // The next try, even with the right code, is looked at only a second later.
    const int64_t before = NowMs();
    guest = MakeGuest(host->code());
    ASSERT_TRUE(PumpUntil([&] { return host->phase() == HostPhase::Joined; }));
    EXPECT_GE(NowMs() - before, 900);
}

TEST_F(Sessions, OneGuestAtATime) {
    OpenHost();
    Join();
    auto second = MakeGuest(host->code());
    ASSERT_TRUE(PumpUntil([&] { return second->phase() == GuestPhase::Ended; }, second.get()));
    EXPECT_EQ(second->endReason(), TEndReason::Busy);
    EXPECT_EQ(host->phase(), HostPhase::Joined);
}

TEST_F(Sessions, HostOfAnotherVersionRefusesAtOnce) {
    OpenHost();
    std::string error;
    auto other = net::TEnetLink::Client(error);
    ASSERT_TRUE(other);
    ENetPeer* peer = other->Connect(htonl(0x7f000001), host->port(), net::kProtocolVersion + 1);
    net::TLinkEvent event;
    bool refused = false;
    ASSERT_TRUE(PumpUntil([&] {
        while (other->Next(event)) refused |= event.kind == net::TLinkEvent::Kind::Disconnected && event.peer == peer &&
                                             event.data == static_cast<uint32_t>(TEndReason::OtherVersion);
        return refused;
    }));
    EXPECT_EQ(host->phase(), HostPhase::Waiting);
}

TEST_F(Sessions, HostThatIsNotThereIsUnreachableAfterTenSeconds) {
    OpenHost();
    const uint16_t port = host->port();
    host.reset();  // nobody listens there any more
    std::string error;
    const int64_t start = NowMs();
    guest = net::TGuestSession::Start({"127.0.0.1:" + std::to_string(port), 123456, {}}, start, error);
    ASSERT_TRUE(guest);
    guest->Poll(start + 9000, *guestState);
    EXPECT_NE(guest->phase(), GuestPhase::Ended);
    guest->Poll(start + 10001, *guestState);
    EXPECT_EQ(guest->phase(), GuestPhase::Ended);
    EXPECT_TRUE(guest->Unreachable());

    EXPECT_FALSE(net::TGuestSession::Start({"", 1, {}}, start, error));
    EXPECT_FALSE(net::TGuestSession::Start({"host:70000", 1, {}}, start, error));
}

class PlayingSessions : public Sessions {
protected:
    void SetUp() override {
        OpenHost({0, false, true, {}, 0});
        hostState->modusformFightCheckchecked = true;
        hostState->multiplayer = true;
        Join();
        host->StartRound(*hostState);
        ASSERT_TRUE(PumpUntil([&] { return host->GuestReady(); }));
    }

    // The host's input for a frame once the guest's input (sent again every
    // round, as every frame sends it: ENet may drop an unreliable datagram
    // on a busy machine) has come with what `arrived` looks for.
    net::THostFrameInput FrameInputOnce(const std::function<void()>& send,
                                        const std::function<bool(const net::THostFrameInput&)>& arrived) {
        net::THostFrameInput frame;
        PumpUntil([&] {
            send();
            frame = host->TakeFrameInput(*hostState, NowMs());
            return arrived(frame);
        });
        return frame;
    }
};

TEST_F(PlayingSessions, GuestInputAndEventsReachTheHostOnce) {
    hostState->gposx = -40, hostState->gposy = -8, hostState->gposz = -40;  // the guest stands at (40, 8, 40)
    const TAimRay ray{{40, 16, 39.8}, {40, 14, 20}};
    guest->QueueEvent(net::TGuestEventKind::Remove, ray);
    guest->QueueEvent(net::TGuestEventKind::WheelDown);
    guest->QueueEvent(net::TGuestEventKind::MenuRight);
    // The same events go out with every input until the host has them.
    net::THostFrameInput frame = FrameInputOnce(
        [&] { guest->SendInput(net::kKeyForward | net::kKeyDigit1 * (1u << 2), 46, 11); },
        [](const net::THostFrameInput& f) { return !f.controls.edits.empty(); });
    EXPECT_TRUE(frame.controls.forward);
    EXPECT_FALSE(frame.controls.backward);
    EXPECT_EQ(frame.controls.digitsHeld, 1u << 2);
    EXPECT_EQ(frame.controls.heading, 46);
    EXPECT_EQ(frame.controls.pitch, 11);
    EXPECT_EQ(frame.controls.wheelSteps, 1);
    ASSERT_EQ(frame.controls.edits.size(), 1u);
    EXPECT_FALSE(frame.controls.edits[0].place);
    EXPECT_EQ(frame.controls.edits[0].ray.picked.z, 20);
    EXPECT_EQ(frame.menuClicks, std::vector<net::TGuestEventKind>{net::TGuestEventKind::MenuRight});

    // The host takes each event once, however often it comes.
    frame = FrameInputOnce([&] { guest->SendInput(0, 46, 11); },
                           [](const net::THostFrameInput& f) { return !f.controls.forward; });
    EXPECT_TRUE(frame.controls.edits.empty());
    EXPECT_EQ(frame.controls.wheelSteps, 0);
    EXPECT_FALSE(frame.controls.forward);
}

TEST_F(PlayingSessions, PointsAcrossTheWrapCountAndFarOnesEndTheGame) {
    // The guest stands just inside the +x seam; its picture still shows it
    // on the other side, 804 units away.
    hostState->gposx = -399, hostState->gposy = -8, hostState->gposz = 0;
    guest->QueueEvent(net::TGuestEventKind::Place, TAimRay{{-404, 16, 0}, {-410, 16, 0}});
    net::THostFrameInput frame = FrameInputOnce([&] { guest->SendInput(0, 0, 0); },
                                                [](const net::THostFrameInput& f) { return !f.controls.edits.empty(); });
    ASSERT_EQ(frame.controls.edits.size(), 1u);
    EXPECT_EQ(frame.controls.edits[0].ray.picked.x, 394);
    EXPECT_EQ(host->phase(), HostPhase::Joined);

    guest->QueueEvent(net::TGuestEventKind::Place, TAimRay{{399, 16, 0}, {399, 16, 250}});
    frame = FrameInputOnce([&] { guest->SendInput(0, 0, 0); },
                           [&](const net::THostFrameInput&) { return host->phase() == HostPhase::Ended; });
    EXPECT_TRUE(frame.controls.edits.empty());
    EXPECT_EQ(host->phase(), HostPhase::Ended);
    EXPECT_EQ(host->endReason(), TEndReason::Malformed);
    ASSERT_TRUE(PumpUntil([&] { return guest->phase() == GuestPhase::Ended; }));
    EXPECT_EQ(guest->endReason(), TEndReason::Malformed);
}

TEST_F(PlayingSessions, SnapshotsAndCellChangesKeepTheReplica) {
    hostState->posx = 11, hostState->gposx = 22, hostState->gleben = 3, hostState->quitmode = true;
    hostState->level.set(5, 5, 5, kMetal);
    hostState->level.replaceAll(kMetal, kFire1);
    host->QueueSound("bomb");
    host->QueueSound("musik");  // each computer plays its own music
    host->QueueRoundEnded();
    // As every frame sends one: a snapshot may be dropped on a busy machine.
    ASSERT_TRUE(PumpUntil([&] {
        host->SendFrame(*hostState);
        return guestState->level.at(5, 5, 5) == kFire1 && guestState->posx == 22;
    }));
    EXPECT_EQ(guestState->gposx, 11);  // the host's figure is the guest's second
    EXPECT_EQ(guestState->leben, 3);
    EXPECT_TRUE(guestState->quitmode);
    EXPECT_EQ(guest->TakeSounds(), std::vector<std::string>{"bomb"});
    EXPECT_TRUE(guest->TakeRoundEnded());
    EXPECT_EQ(net::ReplicaDifferences(*hostState, *guestState), std::vector<std::string>{});
}

TEST_F(PlayingSessions, EndingTellsTheOtherSideWhy) {
    host->End(TEndReason::Quit, 500);
    ASSERT_TRUE(PumpUntil([&] { return guest->phase() == GuestPhase::Ended; }));
    EXPECT_EQ(guest->endReason(), TEndReason::Quit);
}

TEST_F(Sessions, GarbageFromTheGuestEndsTheGameWithAReason) {
    OpenHost();
    // A guest of its own making: the right code, then bytes no game sends.
    std::string error;
    auto raw = net::TEnetLink::Client(error);
    ASSERT_TRUE(raw);
    ENetPeer* peer = raw->Connect(htonl(0x7f000001), host->port(), net::kProtocolVersion);
    net::TLinkEvent event;
    bool welcomed = false, told = false;
    ASSERT_TRUE(PumpUntil([&] {
        while (raw->Next(event)) {
            if (event.kind == net::TLinkEvent::Kind::Connected)
                raw->Send(peer, net::kReliableChannel, net::Encode(net::THello{host->code(), {}}), true);
            welcomed |= event.kind == net::TLinkEvent::Kind::Received;
        }
        return welcomed;
    }));
    raw->Send(peer, net::kStateChannel, {2, 1, 2, 3}, false);
    raw->Flush();
    ASSERT_TRUE(PumpUntil([&] {
        while (raw->Next(event))
            told |= event.kind == net::TLinkEvent::Kind::Disconnected &&
                    event.data == static_cast<uint32_t>(TEndReason::Malformed);
        return told;
    }));
    EXPECT_EQ(host->phase(), HostPhase::Ended);
    EXPECT_EQ(host->endReason(), TEndReason::Malformed);
    EXPECT_FALSE(host->endDetail().empty());
}

// A computer that dies says nothing; the other notices by itself, 10 s by
// the game's clock after the last datagram came, whatever ENet's resend
// timers (which double on a jittery link) would wait.
TEST_F(PlayingSessions, SilenceOfTenSecondsEndsTheGameOnEitherSide) {
    // What is still on its way arrives; from now on neither side polls
    // unless told to.
    Settle();
    const int64_t quiet = NowMs();
    host->Poll(quiet + 9000);
    guest->Poll(quiet + 9000, *guestState);
    EXPECT_EQ(host->phase(), HostPhase::Joined);
    EXPECT_EQ(guest->phase(), GuestPhase::Playing);

    host->Poll(quiet + 10001);
    EXPECT_EQ(host->phase(), HostPhase::Ended);
    EXPECT_EQ(host->endReason(), TEndReason::Lost);
    guest->Poll(quiet + 10001, *guestState);
    EXPECT_EQ(guest->phase(), GuestPhase::Ended);
    EXPECT_EQ(guest->endReason(), TEndReason::Lost);
    EXPECT_FALSE(guest->Unreachable());
}

TEST_F(PlayingSessions, SidesThatKeepTalkingPlayOnPastTenSeconds) {
    // Each pass: both send and hear each other, the game's clock 8 s on.
    const int64_t start = NowMs();
    for (int pass = 1; pass <= 3; ++pass) {
        const int64_t now = start + pass * 8000;
        host->SendFrame(*hostState);
        guest->SendInput(0, 0, 0);
        for (const int64_t until = NowMs() + 60; NowMs() < until;) {
            host->Poll(now, 1);
            guest->Poll(now, *guestState, 1);
        }
    }
    EXPECT_EQ(host->phase(), HostPhase::Joined);
    EXPECT_EQ(guest->phase(), GuestPhase::Playing);
}

}  // namespace
}  // namespace qw::test

