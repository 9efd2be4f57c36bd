// A session manager as a test needs one (XSMP, as GNOME, KDE and Xfce speak it): prints the
// address to put in SESSION_MANAGER, and on each line read asks every client to save as at
// logout, printing "saved" when one says it is done. It asks nothing else and ends with stdin.
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

std::vector<SmsConn> g_clients;

Bool anyHost(char *) { return True; }

Status newClient(SmsConn, SmPointer, unsigned long *mask, SmsCallbacks *on, char **)
{
    *on = {};
    on->register_client.callback = [](SmsConn conn, SmPointer, char *previousId) {
        std::free(previousId);
        char *id = SmsGenerateClientID(conn);
        SmsRegisterClientReply(conn, id);
        std::free(id);
        g_clients.push_back(conn);
        return Status(1);
    };
    on->save_yourself_done.callback = [](SmsConn, SmPointer, Bool success) {
        std::printf(success ? "saved\n" : "failed\n");
        std::fflush(stdout);
    };
    on->set_properties.callback = [](SmsConn, SmPointer, int count, SmProp **properties) {
        for (int i = 0; i < count; ++i)
            SmFreeProperty(properties[i]);
        std::free(properties);
    };
    on->close_connection.callback = [](SmsConn conn, SmPointer, int count, char **reasons) {
        SmFreeReasons(count, reasons);
        std::erase(g_clients, conn);
        SmsCleanUp(conn);
    };
    on->delete_properties.callback = [](SmsConn, SmPointer, int count, char **names) { SmFreeReasons(count, names); };
    on->get_properties.callback = [](SmsConn conn, SmPointer) { SmsReturnProperties(conn, 0, nullptr); };
    on->interact_request.callback = [](SmsConn, SmPointer, int) {};
    on->interact_done.callback = [](SmsConn, SmPointer, Bool) {};
    on->save_yourself_request.callback = [](SmsConn, SmPointer, int, Bool, int, Bool, Bool) {};
    on->save_yourself_phase2_request.callback = [](SmsConn conn, SmPointer) { SmsSaveYourselfPhase2(conn); };
    *mask = ~0UL;
    return 1;
}

} // namespace

int main()
{
    // A client that goes away is closed below; ICE's own handler would end the manager.
    IceSetIOErrorHandler([](IceConn) {});
    char error[256];
    int count = 0;
    IceListenObj *listeners = nullptr;
    if (!SmsInitialize("test", "1", newClient, nullptr, anyHost, sizeof error, error)
        || !IceListenForConnections(&count, &listeners, sizeof error, error)) {
        std::fprintf(stderr, "%s\n", error);
        return 1;
    }
    for (int i = 0; i < count; ++i)
        IceSetHostBasedAuthProc(listeners[i], anyHost);
    std::printf("%s\n", IceComposeNetworkIdList(count, listeners));
    std::fflush(stdout);
    std::vector<IceConn> connections;
    for (char line[64];;) {
        std::vector<pollfd> fds{{STDIN_FILENO, POLLIN, 0}};
        for (int i = 0; i < count; ++i)
            fds.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
        for (IceConn connection : connections)
            fds.push_back({IceConnectionNumber(connection), POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0 || (fds[0].revents && !std::fgets(line, sizeof line, stdin)))
            return 0;
        for (SmsConn client : fds[0].revents ? g_clients : std::vector<SmsConn>())
            SmsSaveYourself(client, SmSaveBoth, True, SmInteractStyleAny, False);
        IceAcceptStatus status;
        for (int i = 0; i < count; ++i)
            if (IceConn accepted = fds[1 + size_t(i)].revents ? IceAcceptConnection(listeners[i], &status) : nullptr)
                connections.push_back(accepted);
        std::vector<IceConn> open;
        for (size_t i = 0; i < connections.size(); ++i) {
            if (fds[1 + size_t(count) + i].revents
                && IceProcessMessages(connections[i], nullptr, nullptr) == IceProcessMessagesIOError)
                IceCloseConnection(connections[i]);
            else
                open.push_back(connections[i]);
        }
        connections = open;
    }
}
