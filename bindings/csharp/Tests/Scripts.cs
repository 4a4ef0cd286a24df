// The scripts the tests play, built in memory as the loader reads them:
// lines ended by a carriage return and a line feed.
using System;
using System.Linq;
using System.Text;

namespace Murmex.Tests
{
    internal static class Scripts
    {
        // Intro offers, in this order: 1 "&Count" (sets count = 3, then its own
        // state offers "Pay", which gives 2 money), 2 "Go to Bob" (a hand-over),
        // 3 "Bye" (ends the conversation). The title and the first answer hold
        // Windows-1252 bytes: 0xE9 is 'é', 0x80 the euro sign.
        public static readonly byte[] Play = Lines(
            "MurmexSrcFile",
            "TITLE = \"Caf\xE9 \x80\"",
            "COLOR = \"1\", \"2\", \"3\"",
            "TEXTCOLOR = \"4\", \"5\", \"6\"",
            "\"Intro\" {",
            "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hello &there, caf\xE9.\" ACT = \"ACT_NONE\" }",
            "  { S = \"0\" N = \"1\" Q = \"&Count\" A = \"Counted.\" ACT = \"ACT_ADD_MEM\" PARAM = \"count\" VAL = \"3\" }",
            "  { S = \"1\" N = \"0\" Q = \"Pay\" A = \"Paid.\" ACT = \"ACT_ADD_MONEY\" PARAM = \"coins\" VAL = \"2\" }",
            "  { S = \"0\" N = \"0\" Q = \"Go to Bob\" A = \"-\" ACT = \"ACT_COMM\" PARAM = \"Bob\" }",
            "  { S = \"0\" N = \"-1\" Q = \"Bye\" A = \"Bye.\" ACT = \"ACT_NONE\" }",
            "}",
            "\"Bob\" {",
            "  { S = \"0\" N = \"0\" Q = \"\" A = \"Bob here.\" ACT = \"ACT_NONE\" }",
            "  { S = \"0\" N = \"0\" Q = \"Back\" A = \"-\" ACT = \"ACT_COMM\" PARAM = \"Intro\" }",
            "}");

        // The demo's file, which the test run names.
        public static string Demo
        {
            get
            {
                return Environment.GetEnvironmentVariable("MURMEX_DEMO") ??
                       throw new InvalidOperationException("MURMEX_DEMO names no demo script");
            }
        }

        public const int Count = 0;
        public const int GoToBob = 1;
        public const int Bye = 2;
        public const int Pay = 0;

        // A game over the play script, started at Intro.
        public static Game Started(Script script)
        {
            Game game = script.NewGame();
            game.Start("Intro");
            return game;
        }

        // Each character of the strings is one byte, so Windows-1252 bytes
        // can be written as \xNN.
        public static byte[] Lines(params string[] lines)
        {
            return Raw(string.Join("\r\n", lines) + "\r\n");
        }

        public static byte[] Raw(string text)
        {
            return Encoding.GetEncoding("iso-8859-1").GetBytes(text);
        }

        public static string[] Labels(Game game)
        {
            return game.Questions.Select(question => question.Label).ToArray();
        }
    }
}
