/*
 * The help files of the settings pages and the topic that F1 opens on each
 * page. The pages take the names from here, and so does the help build
 * (tools/helpbuild.py), which fails when a topic named here is missing from
 * its compiled file. One definition per line, HELP_FILE_<PAGE> and
 * HELP_TOPIC_<PAGE> in pairs.
 *
 * The Tiltfeed and Jolt pages open the file that their machine-wide value
 * "HelpFilePath" names (the installation points it at Help\Tiltfeed.chm and
 * Help\Jolt.chm); the other pages open their file in the "Help" folder
 * beside their own library.
 */
#ifndef TILTKIT_HELP_TOPICS_H
#define TILTKIT_HELP_TOPICS_H

#define HELP_FILE_TILTFEED   "Tiltfeed.chm"
#define HELP_TOPIC_TILTFEED  "tiltfeed.htm"

#define HELP_FILE_JOLT       "Jolt.chm"
#define HELP_TOPIC_JOLT      "jolt.htm"

#define HELP_FILE_GRAVCAL    "Gravcal.chm"
#define HELP_TOPIC_GRAVCAL   "gravcal.htm"

#define HELP_FILE_EXTRAS     "Extras.chm"
#define HELP_TOPIC_EXTRAS    "extras.htm"

/* The folder beside the libraries that holds the help files. */
#define HELP_FOLDER          "Help"

#endif
