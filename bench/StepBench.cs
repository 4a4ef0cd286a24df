// The cost of one step through the C# binding: the step that murmex_bench's
// gameStep takes in C++ (ask the first question of binding_step.chr.txt, read
// the answer and every label), timed over many repetitions. Prints
// nanoseconds per step, the median of five runs.
using System;
using System.Diagnostics;
using Murmex;

internal static class StepBench
{
    private const int Steps = 200000;
    private const int Runs = 5;

    private static int Main(string[] args)
    {
        using (Script script = Script.Load(args[0], true))
        using (Game game = script.NewGame())
        {
            game.Start("Intro");
            var perStep = new double[Runs];
            for (int run = 0; run < Runs; run++)
            {
                Stopwatch watch = Stopwatch.StartNew();
                for (int step = 0; step < Steps; step++)
                {
                    game.Choose(0);
                    GC.KeepAlive(game.Answer);
                    foreach (Question question in game.Questions)
                    {
                        GC.KeepAlive(question.Label);
                    }
                }
                perStep[run] = watch.Elapsed.TotalMilliseconds * 1e6 / Steps;
            }
            Array.Sort(perStep);
            Console.Write("csharp step: " + Math.Round(perStep[Runs / 2]) + " ns\n");
        }
        return 0;
    }
}
