#pragma once

#include <QDate>
#include <QString>

// What trying a site's address found, on the day it was tried.
struct SiteCheck {
    enum class Outcome {
        Reachable,        // the page answered
        Moved,            // it answered from another address, `detail`
        NoSuchHost,       // the host name is not known
        Refused,          // nothing listens at the address
        TimedOut,         // no answer within the time limit
        Closed,           // the server closed the connection without answering
        HttpError,        // the server answered with an error status, `detail` ("404 Not Found")
        TooManyRedirects, // redirect after redirect
        NotWeb,           // not an http or https address with a host
        NetworkError,     // any other failure, `detail` being the network's description
    };

    Outcome outcome = Outcome::Reachable;
    QString detail;
    QDate checkedOn;

    // Whether the site did not answer at the address at all.
    bool failed() const { return outcome != Outcome::Reachable && outcome != Outcome::Moved; }
    friend bool operator==(const SiteCheck&, const SiteCheck&) = default;
};
