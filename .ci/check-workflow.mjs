// check-workflow.mjs WORKFLOW...: reads each workflow as GitHub does, with
// its own parser and against its own schema of workflows, and holds it to
// the project's rules: the workflow names its own rights, which write
// nothing; every job has a time limit; no job or step goes on past its
// own failure; every download of an artifact by id is run-wide; no job
// may write but "publish", whose rights are exactly those that publishing
// and attesting a release take; and "publish", where there is one, runs
// only once every other job has passed, builds nothing, and publishes
// files that another job made and that a third fetched to test, by the
// same artifact. Prints what is wrong, and exits 1 if anything is. It
// imports @actions/workflow-parser from a node_modules folder beside it or
// above.
import { register } from "node:module";
import { readFileSync } from "node:fs";

// The parser imports its schema as JSON without saying so, as a bundler
// lets it; Node.js wants to be told.
register("data:text/javascript," + encodeURIComponent(`
export async function resolve(specifier, context, next) {
  const resolved = await next(specifier, context);
  return resolved.url.endsWith(".json")
    ? { ...resolved, importAttributes: { type: "json" } }
    : resolved;
}`));
const { parseWorkflow, convertWorkflowTemplate, NoOperationTraceWriter } =
  await import("@actions/workflow-parser");

const publisher = "publish";
const publishRights = "actions: read, attestations: write, contents: write, id-token: write";
// A step that builds: runs a build tool or a compiler, by whatever path
// and inside whatever quotes or shell, or a script that makes the
// release's files.
const building = new RegExp(String.raw`(^|[^\w.+-])(cmake|ctest|cpack|make|gmake|ninja|cc|gcc|c\+\+|g\+\+|clang|clang\+\+)` +
  String.raw`(-[\d.]+)?(?=$|[\s;&|)"'\x60])|(^|[^\w-])(\.\/)?scripts\/release(-macos)?(?=$|[\s;&|)"'\x60])`, "m");
// A status function in a job's condition, by which it runs after a job
// that it needs has failed, or been cancelled.
const pastFailure = /\b(always|failure|cancelled)\s*\(/;
// fetched(JOB): the jobs whose artifacts JOB downloads, by the id that
// each gives as its output.
const fetched = (job) => (job.steps ?? [])
  .filter((step) => String(step.uses ?? "").startsWith("actions/download-artifact@"))
  .flatMap((step) => [...JSON.stringify(step.with?.["artifact-ids"] ?? "")
    .matchAll(/needs\.([\w-]+)\.outputs\./g)].map((match) => match[1]));

// The parser's tokens, as their JSON gives them, made plain values:
// mappings objects, sequences arrays.
const plain = (token) =>
  token?.map ? Object.fromEntries(token.map.map(({ Key, Value }) => [Key, plain(Value)]))
  : token?.seq ? token.seq.map(plain)
  : token;
const rights = (permissions) =>
  typeof permissions === "string" ? permissions
  : Object.entries(permissions ?? {}).map(([scope, level]) => `${scope}: ${level}`)
    .sort().join(", ");

let failed = false;
const wrong = (message) => {
  console.log(message);
  failed = true;
};
for (const name of process.argv.slice(2)) {
  const parsed = parseWorkflow({ name, content: readFileSync(name, "utf8") },
    new NoOperationTraceWriter());
  await convertWorkflowTemplate(parsed.context, parsed.value);
  parsed.context.errors.getErrors().forEach((error) => wrong(error.message));
  const workflow = plain(JSON.parse(JSON.stringify(parsed.value ?? {})));
  const jobs = workflow.jobs ?? {};
  if (Object.keys(jobs).length === 0)
    wrong(`${name}: no jobs to check`);

  if (workflow.permissions === undefined)
    wrong(`${name}: the workflow names no rights, so every job takes the repository's default`);
  if (/write/.test(rights(workflow.permissions)))
    wrong(`${name}: the workflow's own rights write: ${rights(workflow.permissions)}`);
  for (const [id, job] of Object.entries(jobs)) {
    if (typeof job["timeout-minutes"] !== "number")
      wrong(`${name}: job ${id} has no time limit`);
    if (job["continue-on-error"] !== undefined && job["continue-on-error"] !== false)
      wrong(`${name}: job ${id} may go on past its failure`);
    for (const step of job.steps ?? []) {
      const named = step.name ?? step.uses ?? step.run;
      if (step["continue-on-error"] !== undefined && step["continue-on-error"] !== false)
        wrong(`${name}: job ${id} may go on past the failure of step "${named}"`);
      if (String(step.uses ?? "").startsWith("actions/download-artifact@") &&
          step.with?.["artifact-ids"] !== undefined &&
          (step.with?.["github-token"] === undefined || step.with?.["run-id"] === undefined))
        wrong(`${name}: job ${id} fetches by id from this attempt alone, without github-token and run-id, in step "${named}"`);
    }
    if (id === publisher && rights(job.permissions) !== publishRights)
      wrong(`${name}: job ${publisher} may ${rights(job.permissions)}, not ${publishRights}`);
    if (id !== publisher && /write/.test(rights(job.permissions)))
      wrong(`${name}: job ${id} may write: ${rights(job.permissions)}`);
  }
  if (jobs[publisher]) {
    const awaited = new Set();
    const wait = (id) => [jobs[id]?.needs ?? []].flat().forEach((need) => {
      awaited.add(need);
      wait(need);
    });
    wait(publisher);
    for (const id of Object.keys(jobs))
      if (id !== publisher && !awaited.has(id))
        wrong(`${name}: job ${publisher} does not wait for ${id}`);
    if (pastFailure.test(JSON.stringify(jobs[publisher].if ?? "")))
      wrong(`${name}: job ${publisher} may run after a job that it waits for has failed: if: ${jobs[publisher].if}`);
    for (const step of jobs[publisher].steps ?? [])
      if (building.test(String(step.run ?? "")))
        wrong(`${name}: job ${publisher} builds, in step "${step.name ?? step.run}"`);
    const tested = fetched(jobs[publisher]).filter((maker) => Object.entries(jobs)
      .some(([id, job]) => id !== publisher && fetched(job).includes(maker)));
    if (tested.length === 0)
      wrong(`${name}: job ${publisher} publishes no files that another job fetched to test`);
  }
}
process.exit(failed ? 1 : 0);
